#include "sysaccess/ProcessLaunch.h"

#include <windows.h>

#include <vector>

#include "base/ScopedHandle.h"
#include "sysaccess/ChangeGate.h"
#include "sysaccess/CommandLine.h"

bool RunProgram(const std::string& commandLine, bool wait) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    // CreateProcessA may write into the command line, so it gets a copy of its own.
    std::vector<char> line(commandLine.begin(), commandLine.end());
    line.push_back('\0');
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process))
        return false;
    const KernelObject program(process.hProcess), thread(process.hThread);
    // The process handle is signalled when the program ends, whatever its exit code (259
    // included), so the end is seen at once.
    if (!wait || WaitForSingleObject(program.Get(), kRunProgramWaitLimit) == WAIT_OBJECT_0)
        return true;
    SetLastError(WAIT_TIMEOUT);
    return false;
}

bool RunUninstaller(const std::string& commandLine, const std::string& arguments) {
    const std::string program = QuoteProgramPath(commandLine);
    GatedChange change({ChangeAction::RunUninstaller,
                        (program.empty() ? commandLine : program) + arguments, !program.empty()});
    if (!change.Admitted()) return true;
    if (program.empty()) return change.Absent();
    return RunProgram(program + arguments, true) ? change.Done() : change.Failed(GetLastError());
}
