#pragma once
#include <string>

// Longest wait for a program started with wait, in milliseconds (about 300 seconds).
constexpr unsigned long kRunProgramWaitLimit = 600 * 500;

// Starts commandLine (program found by the system's search rules) in a normal window. With
// wait, returns true only when the program ended within the wait limit, whatever its exit
// code; a program still running then keeps running. Without wait, true once it started.
bool RunProgram(const std::string& commandLine, bool wait);
// RunProgram with wait for an uninstaller: the program registered in commandLine
// (QuoteProgramPath) with arguments after it. The start passes the change gate, and one the gate
// holds back counts as a program that ended; a program that is missing is not started (absent).
bool RunUninstaller(const std::string& commandLine, const std::string& arguments);
