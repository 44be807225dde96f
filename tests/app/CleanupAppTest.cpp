// The program's own logic without the display: the start-up decision and what View Log starts.
#include <gtest/gtest.h>

#include "app/CleanupApp.h"
#include "app/LogViewer.h"
#include "base/SystemQueries.h"
#include "core/LogFile.h"
#include "run/CleanupRun.h"
#include "support/ImportPatch.h"
#include "support/Machine.h"

namespace {
// The argument text follows the program name and its blanks; it starts with what picks the mode.
TEST(CleanupAppTest, ArgumentTextFollowsTheProgramNameAndItsStartPicksTheMode) {
    const char* const modes[] = {"dialog", "silent", "preview", "restore", "restore-preview"};
    for (const auto& row : CaseTable("app\\arguments.txt")) {
        const char* text = ArgumentText(row[0].c_str());
        EXPECT_EQ(row[1], text) << row[0];
        EXPECT_EQ(row[2] == "silent", IsSilentArgument(text)) << row[0];
        std::string kit;
        const std::string mode = modes[static_cast<int>(ModeOf(text, kit))];
        EXPECT_EQ(row[2], kit.empty() ? mode : mode + " " + kit) << row[0];
    }
}

std::string started;
BOOL WINAPI RecordStart(LPCSTR, LPSTR commandLine, LPSECURITY_ATTRIBUTES, LPSECURITY_ATTRIBUTES,
                        BOOL, DWORD, LPVOID, LPCSTR, LPSTARTUPINFOA, LPPROCESS_INFORMATION) {
    started = commandLine;
    return FALSE;
}

// View Log asks to start the notepad.exe of folder on log (and nothing is started).
void ExpectNotepad(const std::string& folder, const std::string& log) {
    ImportPatch patch("kernel32.dll", "CreateProcessA", reinterpret_cast<void*>(RecordStart));
    started.clear();
    ViewLog();
    EXPECT_EQ("\"" + folder + "notepad.exe\" \"" + log + "\"", started);
}

// View Log opens the log the last run of this process wrote, else the current directory's, else
// the system directory's, in Notepad started by its full path on the quoted log path.
TEST(LogViewerTest, NotepadOnTheLogOfTheLastRunElseTheCurrentElseTheSystemDirectorys) {
    const std::string work = FreshFolder("C:\\viewedlog"), here = work + "\\oberin.log";
    const std::string system = SystemDirectory(), notepad = system + "notepad.exe";
    ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));
    RemoveTree(system + "oberin.log");  // the dialog tests may have left it blocked
    // No run has written a log (the last one could not open its file).
    ASSERT_FALSE(TheLogFile().Open(work + "\\nowhere\\oberin.log"));
    ASSERT_TRUE(WriteWholeFile(here, "stale"));
    ExpectNotepad(system, here);
    DeleteFileA(here.c_str());
    ExpectNotepad(system, system + "oberin.log");
    ASSERT_TRUE(MoveFileA(notepad.c_str(), (notepad + ".away").c_str()));
    ExpectNotepad(WindowsDirectory(), system + "oberin.log");
    MoveFileA((notepad + ".away").c_str(), notepad.c_str());
    // The current directory's log cannot be rewritten: the run writes the system directory's.
    ASSERT_TRUE(WriteWholeFile(here, "stale"));
    HANDLE held = CreateFileA(here.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_TRUE(CleanupRun().Run(true));
    CloseHandle(held);
    ExpectNotepad(system, system + "oberin.log");
    EXPECT_TRUE(CleanupRun().Run(true));
    ExpectNotepad(system, here);
}
}  // namespace
