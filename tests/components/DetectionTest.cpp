// Each catalog product is detected by its own files alone (the cases in detection.txt): a run
// on a clean machine with one of them reports that product, and only it, as detected.
#include <gtest/gtest.h>

#include <sstream>

#include "run/CleanupRun.h"
#include "support/Machine.h"
#include "support/MachinePaths.h"

TEST(DetectionTest, EachFileAloneDetectsOnlyItsProduct) {
    const std::string work = FreshFolder("C:\\detection");
    ASSERT_TRUE(SetCurrentDirectoryA(work.c_str()));
    for (const auto& row : CaseTable("components\\detection.txt")) {
        const std::string path = ExpandMachinePath(row[1]);
        const std::string folder = path.substr(0, path.find_last_of('\\'));
        CreateDirectoryA(folder.c_str(), nullptr);
        ASSERT_TRUE(WriteWholeFile(path, "")) << path;
        CleanupRun().Run(true);
        std::istringstream log(ReadWholeFile(work + "\\oberin.log"));
        std::string detected, product;
        for (std::string line; std::getline(log, line);) {
            if (line.rfind("Product Name:    ", 0) == 0)
                product = line.substr(17, line.size() - 18);
            if (line.find("has been detected.") != std::string::npos) detected += product;
        }
        EXPECT_EQ(row[0] == "none" ? "" : row[0], detected) << path;
        DeleteFileA(path.c_str());
        RemoveDirectoryA(folder.c_str());
    }
    SetCurrentDirectoryA("C:\\");
}
