// The program of an unquoted command line with blanks is the longest part before a blank that
// names an existing file, quoted, so the system's search never picks a shorter one.
#include <gtest/gtest.h>

#include "support/Machine.h"
#include "sysaccess/CommandLine.h"

TEST(CommandLineTest, ProgramWithBlanksIsQuoted) {
    const std::string folder = FreshFolder("C:\\Program Files\\Velmora Upkeep");
    const std::string uninstaller = folder + "\\uninst.exe";
    ASSERT_TRUE(WriteWholeFile(uninstaller, "x"));
    // What the system's guessing would run first.
    ASSERT_TRUE(WriteWholeFile("C:\\Program.exe", "x"));
    ASSERT_TRUE(WriteWholeFile(folder + "\\uninst -f.exe", "x"));
    ASSERT_TRUE(WriteWholeFile(folder + "\\setup.com", "x"));

    const std::string quoted = "\"" + uninstaller + "\"";
    EXPECT_EQ(quoted + " -fC:\\Program Files\\Logs\\uninst.log",
              QuoteProgramPath(uninstaller + " -fC:\\Program Files\\Logs\\uninst.log"));
    EXPECT_EQ(quoted + " /a  b", QuoteProgramPath(folder + "\\uninst /a  b"));
    // The longest part that names a file wins, also over the file a shorter part names.
    EXPECT_EQ("\"" + folder + "\\uninst -f.exe\" x", QuoteProgramPath(folder + "\\uninst -f x"));
    EXPECT_EQ(quoted, QuoteProgramPath(uninstaller));
    // A name with an extension of its own gets none added.
    EXPECT_EQ("\"" + folder + "\\setup.com\" /s", QuoteProgramPath(folder + "\\setup.com /s"));

    // Passed as they are: quoted, without blanks in the program, or naming no file.
    for (const std::string& command :
         {quoted + " -v", std::string("C:\\Program.exe /x"), std::string("C:\\Program"),
          std::string("C:\\Velmora Nowhere\\uninst.exe /x"), folder + "\\missing.exe /x",
          std::string("C:\\Program Files /x")})
        EXPECT_EQ(command, QuoteProgramPath(command));

    DeleteFileA("C:\\Program.exe");
    FreshFolder(folder);
    RemoveDirectoryA(folder.c_str());
}
