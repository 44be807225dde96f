// Starting programs: the program a command line registers, quoted so that the system's search
// picks no other one, or none when it is missing (commandline.txt), and waiting for programs or
// not (processlaunch.txt).
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "support/MachinePaths.h"
#include "sysaccess/CommandLine.h"
#include "sysaccess/ProcessLaunch.h"

TEST(CommandLineTest, OnlyTheRegisteredProgramStarts) {
    const std::string folder = FreshFolder("C:\\Program Files\\Velmora Upkeep");
    CreateDirectoryA((folder + "\\tools.exe").c_str(), nullptr);
    // What the system's guessing would run first for C:\Program Files\Velmora ....
    const std::vector<std::string> planted = {"C:\\Program.exe", "C:\\Program Files\\Velmora.exe"};
    for (const std::string& file : {planted[0], planted[1], folder + "\\uninst.exe",
                                    folder + "\\uninst -f.exe", folder + "\\setup.com"})
        ASSERT_TRUE(WriteWholeFile(file, "x")) << file;
    for (const auto& row : CaseTable("sysaccess\\commandline.txt"))
        EXPECT_EQ(row.back() == "not started" ? "" : row.back(), QuoteProgramPath(row[0]))
            << row[0];
    for (const std::string& file : planted) DeleteFileA(file.c_str());
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
