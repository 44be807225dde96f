// The removal chain of Component and the log block the run writes for one product.
#include <gtest/gtest.h>

#include "run/CleanupRun.h"
#include "run/LogFile.h"
#include "support/LogCapture.h"

namespace {
// Records the stages it runs; each stage gives the result it was told to.
class ScriptedComponent : public Component {
  public:
    ScriptedComponent(bool installed, bool initial, bool middle, bool final)
        : installed_(installed), initial_(initial), middle_(middle), final_(final) {}
    bool IsInstalled() override { return installed_; }
    bool FinalStage() override { return Stage("final", final_); }
    bool MiddleStage() override { return Stage("middle", middle_); }
    bool InitialStage() override { return Stage("initial", initial_); }
    std::string stages;

  private:
    bool Stage(const char* name, bool result) {
        stages += name;
        stages += ' ';
        TheLogFile().Write(std::string("Error:           ") + name + "\n");
        return result;
    }
    bool installed_, initial_, middle_, final_;
};

class Bare : public Component {};

TEST(ComponentTest, BareComponentIsInstalledAndRemoves) {
    Bare bare;
    EXPECT_TRUE(bare.IsInstalled());
    EXPECT_TRUE(bare.Remove());
}

TEST(ComponentTest, ChainStopsAtTheFirstFailingStage) {
    ScriptedComponent all(true, true, true, true);
    EXPECT_TRUE(all.Remove());
    EXPECT_EQ("initial middle final ", all.stages);

    ScriptedComponent initialFails(true, false, true, true);
    EXPECT_FALSE(initialFails.Remove());
    EXPECT_EQ("initial ", initialFails.stages);

    ScriptedComponent middleFails(true, true, false, true);
    EXPECT_FALSE(middleFails.Remove());
    EXPECT_EQ("initial middle ", middleFails.stages);

    ScriptedComponent finalFails(true, true, true, false);
    EXPECT_FALSE(finalFails.Remove());
}

const char kProduct[] = "Velmora Sample Product\n";
const char kSeparator[] =
    "--------------------------------------------------------------------------\r\n";

TEST(ReportProductTest, RemovedProduct) {
    ScriptedComponent present(true, true, true, true);
    bool result = false;
    EXPECT_EQ(std::string("Product Name:    Velmora Sample Product\r\n"
                          "Action:          This service has been detected.\r\n"
                          "                 Attempting to remove...\r\n"
                          "Error:           initial\r\n"
                          "Error:           middle\r\n"
                          "Error:           final\r\n"
                          "                 This service has been removed.\r\n"
                          "Warning:         N/A\r\n") +
                  kSeparator,
              ReportAndLog(present, kProduct, ProductKind::Service, &result));
    EXPECT_TRUE(result);
}

TEST(ReportProductTest, IncompleteRemovalEndsWithTheWarningLine) {
    ScriptedComponent stuck(true, true, false, true);
    bool result = true;
    EXPECT_EQ(std::string("Product Name:    Velmora Sample Product\r\n"
                          "Action:          This component has been detected.\r\n"
                          "                 Attempting to remove...\r\n"
                          "Error:           initial\r\n"
                          "Error:           middle\r\n"
                          "Warning:         This component was not completely removed.\r\n") +
                  kSeparator,
              ReportAndLog(stuck, kProduct, ProductKind::Component, &result));
    EXPECT_FALSE(result);
}

}  // namespace
