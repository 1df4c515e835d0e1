// A locus list too long for the check's 16-bit length counts as missing or
// empty, so the export asks whether to go on; the console says why, naming
// the list's size and the limit. One byte shorter, nothing is said or asked.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;
using testing::RunHarvestor;

// A list of the given size naming D1, D2 and D3, then padding lines.
std::string LocusListOf(std::size_t bytes) {
  std::string list = "D1\r\nD2\r\nD3\r\n";
  while (list.size() + 8 <= bytes) list += "PADPAD\r\n";
  list += std::string(bytes - list.size(), 'x');
  return list;
}

TEST(LongLocusListCommandTest, TheConsoleSaysWhyALongListCountsAsMissing) {
  const struct {
    std::size_t bytes;
    bool explained;
  } cases[] = {{32767, false}, {32768, true}, {100000, true}};
  harvestor::testing::TestHost host;
  const std::string db = host.Path("study.db");
  ASSERT_EQ(testing::ImportSmallStudy(db).exitStatus, 0);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.bytes);
    std::filesystem::remove(host.Path("Study.pre"));
    const std::string list = LocusListOf(c.bytes);
    ASSERT_EQ(list.size(), c.bytes);
    host.WriteLocusList(list);
    const auto run = RunHarvestor(
        {"export-study", db, "--format", "pedin", "--output", host.Path("Study.pre"), "--yes"},
        host.root + "/App/bin");
    EXPECT_EQ(run.exitStatus, 0) << run.err;
    const std::string why = "harvestor export-study: the locus list " + host.exportFolder +
                            "/LocusList.txt holds " + std::to_string(c.bytes) +
                            " bytes, more than the 32767 bytes its check can measure (a 16-bit "
                            "length), so it counts as missing or empty.\n";
    EXPECT_EQ(run.err.find(why) != std::string::npos, c.explained) << run.err;
    const std::size_t asked = run.err.find("Missing or empty LocusList.Txt.");
    EXPECT_EQ(asked != std::string::npos, c.explained) << run.err;
    if (c.explained) {
      EXPECT_LT(run.err.find(why), asked);  // the reason before the question
    }
    // Whatever the check said, the exporter reads the whole list.
    EXPECT_NE(ReadFile(host.Path("Study.pre")), "");
  }
}

TEST(LongLocusListCommandTest, AListOfMoreEntriesThanAnExportCountsIsRefusedBeforeWriting) {
  const struct {
    std::size_t entries;
    int exitStatus;
  } cases[] = {{32767, 0}, {32768, 2}};
  harvestor::testing::TestHost host;
  const std::string db = host.Path("study.db");
  ASSERT_EQ(testing::ImportSmallStudy(db).exitStatus, 0);
  for (const char* format : {"pedin", "dmp", "gsr"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(format) + " " + std::to_string(c.entries));
      std::string list = "D1\r\n";
      for (std::size_t i = 1; i < c.entries; ++i) list += "\r\n";  // empty names
      host.WriteLocusList(list);
      const std::string out = host.Path("Out");
      std::filesystem::remove_all(out);
      std::filesystem::create_directories(out);
      const auto run = RunHarvestor(
          {"export-study", db, "--format", format, "--output", out + "/Study.txt", "--yes"},
          host.root + "/App/bin");
      EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
      const std::string refusal = "harvestor export-study: the locus list " + host.exportFolder +
                                  "/LocusList.txt holds 32768 entries, more than the 32767 a "
                                  "study export counts (a 16-bit count); nothing was written.\n";
      EXPECT_EQ(run.err.find(refusal) != std::string::npos, c.exitStatus == 2) << run.err;
      EXPECT_EQ(std::filesystem::is_empty(out), c.exitStatus == 2);
      EXPECT_EQ(run.err.find("Overflow"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace workstation
