#include <gtest/gtest.h>

#include "tests/console/Process.h"
#include "workstation/console/HugePageHeap.h"

namespace workstation::console {
namespace {

TEST(HugePageHeapTest, TheUsersTunablesAreKeptAndTheirOwnHugePageChoiceWins) {
  struct Case {
    const char* own;
    std::optional<std::string> expected;
  } cases[] = {
      {nullptr, "glibc.malloc.hugetlb=1"},
      {"", "glibc.malloc.hugetlb=1"},
      {"glibc.malloc.check=3", "glibc.malloc.check=3:glibc.malloc.hugetlb=1"},
      {"glibc.malloc.hugetlb=0", std::nullopt},
      {"glibc.malloc.check=3:glibc.malloc.hugetlb=2", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(tunablesWithHugePages(c.own), c.expected) << (c.own ? c.own : "(unset)");
  }
}

TEST(HugePageHeapTest, TheCommandRunsOnceWhateverTheUserSet) {
  for (const char* own : {"", "glibc.malloc.check=0", "glibc.malloc.hugetlb=0"}) {
    ::setenv("GLIBC_TUNABLES", own, 1);
    const auto run = workstation::testing::RunHarvestor({"--version"});
    EXPECT_EQ(run.exitStatus, 0) << own << ": " << run.err;
    EXPECT_EQ(run.out.find("harvestor"), 0u) << run.out;
  }
  ::unsetenv("GLIBC_TUNABLES");
}

}  // namespace
}  // namespace workstation::console
