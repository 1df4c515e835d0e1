// When the command starts itself again with huge pages asked of the C library.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "workstation/console/HugePages.h"

namespace workstation::console {
namespace {

TEST(HugePagesTest, TheTunableIsAddedOnlyWhereHugePagesCanBeHadAndNobodyChose) {
  const struct {
    const char* current;
    const char* setting;
    std::optional<std::string> expected;
  } cases[] = {
      {nullptr, "always [madvise] never\n", "glibc.malloc.hugetlb=1"},
      {nullptr, "[always] madvise never\n", "glibc.malloc.hugetlb=1"},
      {"", "always [madvise] never\n", "glibc.malloc.hugetlb=1"},
      {"glibc.malloc.arena_max=2", "always [madvise] never\n",
       "glibc.malloc.arena_max=2:glibc.malloc.hugetlb=1"},
      // The user's own choice, or the restarted command's, stands.
      {"glibc.malloc.hugetlb=0", "always [madvise] never\n", std::nullopt},
      {"glibc.malloc.hugetlb=1", "always [madvise] never\n", std::nullopt},
      // No huge pages to be had: nothing to restart for.
      {nullptr, "always madvise [never]\n", std::nullopt},
      {nullptr, "", std::nullopt},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tunablesForHugePages(c.current, c.setting), c.expected)
        << (c.current ? c.current : "(unset)") << " / " << c.setting;
  }
}

TEST(HugePagesTest, OnlyTheCommandsThatHoldAStudyRestart) {
  const struct {
    std::vector<std::string> args;
    bool restarts;
  } cases[] = {
      {{"harvestor", "--version"}, false},
      {{"harvestor", "locus-list", "show"}, false},
      {{"harvestor", "completion", "bash"}, false},
      {{"harvestor", "import", "s.db", "--name", "S"}, true},
      {{"harvestor", "export-study", "s.db", "--format", "pedin"}, true},
      {{"harvestor", "export-results", "s.db", "--all"}, true},
      {{"harvestor", "loh", "s.db"}, true},
  };
  for (const auto& c : cases) {
    std::vector<char*> argv;
    for (const std::string& arg : c.args) argv.push_back(const_cast<char*>(arg.c_str()));
    EXPECT_EQ(holdsAStudy(static_cast<int>(argv.size()), argv.data()), c.restarts) << c.args[1];
  }
}

}  // namespace
}  // namespace workstation::console
