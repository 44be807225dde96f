// Starting programs: the program of an unquoted command line quoted so that the system's search
// picks no other one (commandline.txt), and waiting for programs or not (processlaunch.txt).
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "sysaccess/CommandLine.h"
#include "sysaccess/ProcessLaunch.h"

TEST(CommandLineTest, ProgramWithBlanksIsQuoted) {
    const std::string folder = FreshFolder("C:\\Program Files\\Velmora Upkeep");
    CreateDirectoryA((folder + "\\tools.exe").c_str(), nullptr);
    // C:\Program.exe is what the system's guessing would run first.
    for (const std::string& file : {std::string("C:\\Program.exe"), folder + "\\uninst.exe",
                                    folder + "\\uninst -f.exe", folder + "\\setup.com"})
        ASSERT_TRUE(WriteWholeFile(file, "x")) << file;
    for (const auto& row : CaseTable("sysaccess\\commandline.txt"))
        EXPECT_EQ(row.back(), QuoteProgramPath(row[0])) << row[0];
    DeleteFileA("C:\\Program.exe");
    RemoveTree(folder);
}

TEST(ProcessLaunchTest, WaitLastsUntilTheEndWhateverTheExitCode) {
    for (const auto& row : CaseTable("sysaccess\\processlaunch.txt")) {
        const DWORD start = GetTickCount();
        EXPECT_EQ(row[2] == "1", RunProgram(ExpandMachinePath(row[0]), row[1] == "wait")) << row[0];
        const DWORD elapsed = GetTickCount() - start;
        EXPECT_TRUE(elapsed >= std::stoul(row[3]) && elapsed < std::stoul(row[4]))
            << row[0] << ": " << elapsed;
    }
}
