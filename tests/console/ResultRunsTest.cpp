// How the console splits a selection into status page runs, and when it
// refuses one, at the 16-bit limits.
#include <gtest/gtest.h>

#include "workstation/console/ResultRuns.h"

namespace workstation::console {
namespace {

TEST(ResultRunsTest, SelectionsAreSplitIntoRunsThePageCanCount) {
  using Runs = std::vector<std::pair<std::size_t, std::size_t>>;
  const struct {
    ResultRunShape shape;
    Runs runs;  // first, count
    bool refused;
  } cases[] = {
      {{1, false, false}, {{0, 1}}, false},
      {{32766, false, false}, {{0, 32766}}, false},
      {{32767, false, false}, {{0, 32766}, {32766, 1}}, false},
      {{32768, false, false}, {{0, 32766}, {32766, 2}}, false},
      {{65532, false, false}, {{0, 32766}, {32766, 32766}}, false},
      {{65533, false, false}, {{0, 32766}, {32766, 32766}, {65532, 1}}, false},
      {{32766, true, false}, {{0, 32766}}, false},
      {{32767, true, false}, {}, true},
      {{32767, false, true}, {{0, 32766}, {32766, 1}}, false},
      {{32768, false, true}, {}, true},
      {{0, false, false}, {}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.shape.selected) + (c.shape.crv ? " crv" : "") +
                 (c.shape.sharedName ? " shared name" : ""));
    const ResultRunPlan plan = planResultRuns(c.shape);
    Runs runs;
    for (const ResultRun& run : plan.runs) runs.emplace_back(run.first, run.count);
    EXPECT_EQ(runs, c.runs);
    EXPECT_EQ(!plan.refusal.empty(), c.refused);
    if (c.refused) {
      // The refusal names the limit and how many were selected.
      EXPECT_NE(plan.refusal.find(std::to_string(c.shape.selected) + " selected"),
                std::string::npos);
      EXPECT_NE(plan.refusal.find("32767"), std::string::npos);
    }
  }
}

TEST(ResultRunsTest, AFixedNameIsATemplateWithoutThePlaceholderInAnyCase) {
  EXPECT_FALSE(isFixedName("/out/{Result Name}.txt"));
  EXPECT_FALSE(isFixedName("/out/{result NAME}"));
  EXPECT_FALSE(isFixedName("/{Result Name}/R.txt"));
  EXPECT_TRUE(isFixedName("/out/Plate.txt"));
  EXPECT_TRUE(isFixedName("/out/{Result}.txt"));
}

}  // namespace
}  // namespace workstation::console
