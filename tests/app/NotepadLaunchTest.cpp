// View Log starts Notepad by its full path, never found by search, on the quoted log path.
#include <gtest/gtest.h>

#include "app/LogViewer.h"
#include "run/SystemQueries.h"
#include "support/ImportPatch.h"

namespace {
// The command lines the program asked to start; none of them is started.
std::vector<std::string> started;
BOOL WINAPI RecordStart(LPCSTR, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                        BOOL, DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
    started.push_back(commandLine);
    SetLastError(ERROR_FILE_NOT_FOUND);
    return FALSE;
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

TEST(NotepadLaunchTest, NotepadOfTheSystemElseOfTheWindowsDirectory) {
    const std::string systemNotepad = SystemDirectory() + "notepad.exe";
    const std::string away = SystemDirectory() + "notepad.away";
    started.clear();
    {
        ImportPatch patch("kernel32.dll", "CreateProcessA", reinterpret_cast<void*>(RecordStart));
        ASSERT_TRUE(patch.Active());
        ViewLog();
        ASSERT_TRUE(MoveFileA(systemNotepad.c_str(), away.c_str()));
        ViewLog();
        MoveFileA(away.c_str(), systemNotepad.c_str());
    }
    const std::string log = Quoted(ViewedLogPath());
    EXPECT_EQ((std::vector<std::string>{Quoted(systemNotepad) + " " + log,
                                        Quoted(WindowsDirectory() + "notepad.exe") + " " + log}),
              started);
}
}  // namespace
