#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "support/RemoveTree.h"

// The test tree and the built programs, as Windows paths (set by tests/bed/wine-run).
std::string TestsDir();
std::string BinDir();

// What RunAndWait gives for a program still running at its time limit (it is then ended).
const long kTimedOut = -2;
// Runs commandLine in directory (empty: the current one) and returns its exit code; -1 when it
// could not be started, kTimedOut when it had not ended after limitMs.
long RunAndWait(const std::string& commandLine, const std::string& directory = std::string(),
                DWORD limitMs = 20000);

std::string ReadWholeFile(const std::string& path);
bool WriteWholeFile(const std::string& path, const std::string& content);
// An empty folder at path, whatever was there.
std::string FreshFolder(const std::string& path);

// The rows of a table of cases, tests/FILE: one row a line, its fields separated by " | ", "\xNN"
// standing for the byte NN; blank lines and lines starting with "#" are left out.
std::vector<std::vector<std::string>> CaseTable(const std::string& file);

// Services made through the service manager itself (Wine's manager knows a service written into
// the registry only after the next wineserver start): a demand-start service of the given type,
// whose binary need not exist; false when the manager refuses it. Deleting it takes its key too.
bool CreateTestService(const std::string& name, DWORD type, const std::string& binary);
void DeleteTestService(const std::string& name);

// Switches the prefix's Windows version (nt40, nt351, win2k) for the programs started after it:
// imports bed/VERSION.reg, the values winecfg writes for it and Wine's own setting.
bool SetWindowsVersion(const std::string& version);
// Imports the REGEDIT4 file at path with the prefix's regedit; true when regedit ended with 0.
bool ImportRegFile(const std::string& path);

// The environment variable name's value; empty when it is not set.
std::string Environment(const char* name);
// Every token in text replaced by value.
void Replace(std::string& text, const std::string& token, const std::string& value);
// path up to its last backslash.
std::string ParentOf(const std::string& path);
