// The removal chain of Component: its stages in order, up to the first that fails.
#include <gtest/gtest.h>

#include "run/Component.h"

namespace {
// Records the stages it runs; each gives the result it was told to.
class ScriptedComponent : public Component {
  public:
    explicit ScriptedComponent(const std::string& results) : results_(results) {}
    bool FinalStage() override { return Stage("final", 2); }
    bool MiddleStage() override { return Stage("middle", 1); }
    bool InitialStage() override { return Stage("initial", 0); }
    std::string stages;

  private:
    bool Stage(const char* name, int index) {
        stages += std::string(name) + " ";
        return results_[index] == '1';
    }
    std::string results_;
};

TEST(ComponentTest, ChainStopsAtTheFirstFailingStage) {
    // Stage results (initial, middle, final), Remove's result, the stages that ran.
    const struct {
        const char* results;
        bool removed;
        const char* stages;
    } cases[] = {{"111", true, "initial middle final "},
                 {"011", false, "initial "},
                 {"101", false, "initial middle "},
                 {"110", false, "initial middle final "}};
    for (const auto& c : cases) {
        ScriptedComponent component(c.results);
        EXPECT_EQ(c.removed, component.Remove()) << c.results;
        EXPECT_EQ(c.stages, component.stages) << c.results;
    }
}

TEST(ComponentTest, BareComponentIsInstalledAndRemoves) {
    class Bare : public Component {} bare;
    EXPECT_TRUE(bare.IsInstalled());
    EXPECT_TRUE(bare.Remove());
}
}  // namespace
