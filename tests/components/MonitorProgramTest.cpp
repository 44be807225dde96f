// The adapter applets delete the monitor programs that detect them, so that a later run no
// longer finds them.
#include <gtest/gtest.h>

#include "components/IntelNicApplet.h"
#include "components/Tessnet3Applet.h"
#include "run/SystemQueries.h"
#include "support/Machine.h"

TEST(MonitorProgramTest, AppletsDeleteTheirMonitorPrograms) {
    const std::string tessnet3Monitor = SystemDirectory() + "vlmttlx.exe";
    const std::string intelMonitor = SystemDirectory() + "ntlxmon.exe";
    ASSERT_TRUE(WriteWholeFile(tessnet3Monitor, "x"));
    ASSERT_TRUE(WriteWholeFile(intelMonitor, "x"));
    Tessnet3Applet tessnet3;
    IntelNicApplet intelNic;
    ASSERT_TRUE(tessnet3.IsInstalled());
    ASSERT_TRUE(intelNic.IsInstalled());

    EXPECT_TRUE(tessnet3.MiddleStage());
    EXPECT_TRUE(intelNic.MiddleStage());
    EXPECT_FALSE(tessnet3.IsInstalled());
    EXPECT_FALSE(intelNic.IsInstalled());
    DeleteFileA(tessnet3Monitor.c_str());
    DeleteFileA(intelMonitor.c_str());
}
