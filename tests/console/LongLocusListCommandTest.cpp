// A locus list past the check's 16-bit length counts as missing or empty:
// the console says why before it asks; past the exporters' 16-bit count of
// entries it refuses before writing.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/console/SmallStudyCommandTest.h"

namespace workstation {
namespace {

using LongLocusListCommandTest = testing::SmallStudyCommandTest;

std::string LocusListOf(std::size_t bytes) {
  std::string list = "D1\r\nD2\r\nD3\r\n";
  while (list.size() + 8 <= bytes) list += "PADPAD\r\n";
  return list + std::string(bytes - list.size(), 'x');
}

std::string LocusListOfEntries(std::size_t entries) {
  std::string list = "D1\r\n";
  for (std::size_t i = 1; i < entries; ++i) list += "\r\n";
  return list;
}

TEST_F(LongLocusListCommandTest, TheConsoleSaysWhyALongListCountsAsMissingOrRefusesIt) {
  const struct {
    std::string list;
    bool explained;
    int exitStatus;
  } cases[] = {{LocusListOf(32767), false, 0},
               {LocusListOf(32768), true, 0},
               {LocusListOf(100000), true, 0},
               {LocusListOfEntries(32767), true, 0},
               {LocusListOfEntries(32768), true, 2}};
  const std::string list = host.exportFolder + "/LocusList.txt";
  for (const char* format : {"pedin", "dmp", "gsr"}) {
    for (const auto& c : cases) {
      SCOPED_TRACE(std::string(format) + " " + std::to_string(c.list.size()) + " bytes");
      host.WriteLocusList(c.list);
      std::filesystem::remove_all(out);
      std::filesystem::create_directories(out);
      const auto run =
          Run({"export-study", db, "--format", format, "--output", out + "/Study.txt", "--yes"});
      EXPECT_EQ(run.exitStatus, c.exitStatus) << run.err;
      const std::string why = "harvestor export-study: the locus list " + list + " holds " +
                              std::to_string(c.list.size()) +
                              " bytes, more than the 32767 bytes its check can measure (a 16-bit "
                              "length), so it counts as missing or empty.\n";
      const std::size_t said = run.err.find(why);
      EXPECT_EQ(said != std::string::npos, c.explained) << run.err;
      EXPECT_EQ(run.err.find("Overflow"), std::string::npos);
      if (c.exitStatus == 2) {
        EXPECT_NE(run.err.find("harvestor export-study: the locus list " + list +
                               " holds 32768 entries, more than the 32767 a study export counts "
                               "(a 16-bit count); nothing was written.\n"),
                  std::string::npos)
            << run.err;
        EXPECT_TRUE(std::filesystem::is_empty(out));
        continue;
      }
      const std::size_t asked = run.err.find("Missing or empty LocusList.Txt.");
      EXPECT_EQ(asked != std::string::npos, c.explained) << run.err;
      if (c.explained) {
        EXPECT_LT(said, asked);  // the reason before the question
      }
      // Whatever the check said, the exporter reads the whole list.
      EXPECT_NE(harvestor::testing::ReadFile(out + "/Study.txt"), "");
    }
  }
}

}  // namespace
}  // namespace workstation
