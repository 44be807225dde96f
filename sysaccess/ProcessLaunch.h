#pragma once
#include <string>

// Longest wait for a program started with wait, in milliseconds (about 300 seconds).
constexpr unsigned long kRunProgramWaitLimit = 600 * 500;

// Starts commandLine (program found by the system's search rules) in a normal window. With
// wait, returns true only when the program ended within the wait limit, whatever its exit
// code; a program still running then keeps running. Without wait, true once it started.
bool RunProgram(const std::string& commandLine, bool wait);
// RunProgram with wait for a program that removes something (an uninstaller): the start passes
// the change gate, and one the gate holds back counts as a program that ended.
bool RunUninstaller(const std::string& commandLine);
