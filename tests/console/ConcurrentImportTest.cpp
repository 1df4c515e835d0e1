// Several harvestor imports into one database file at the same moment, as
// real processes: every import that exits 0 has its study in the file, a
// refused one says why, and the file is never removed or left damaged.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"
#include "workstation/store/StudyDatabase.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::testing::WriteFile;
using testing::StartHarvestor;
using testing::WaitHarvestor;

// Big enough that an import takes a few milliseconds, so the runs overlap.
std::string FragmentTable() {
  std::string table = "Result Name\tSubject ID\tLocus\tAllele ID\n";
  for (int r = 0; r < 2000; ++r) {
    for (int l = 0; l < 10; ++l) {
      table += "R" + std::to_string(r) + "\tS" + std::to_string(r) + "\tD" + std::to_string(l) +
               "\t" + std::to_string(100 + r % 7) + "\n";
    }
  }
  return table;
}

int Leftovers(const std::string& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with(".harvestor-")) ++count;
  }
  return count;
}

class ConcurrentImportTest : public ::testing::Test {
 protected:
  ConcurrentImportTest() { WriteFile(fragments, FragmentTable()); }
  testing::RunningHarvestor start(const std::string& db, const std::string& name) {
    return StartHarvestor({"import", db, "--name", name, "--fragments", fragments});
  }
  harvestor::testing::TestHost host;
  std::string fragments = host.Path("fragments.tsv");
};

TEST_F(ConcurrentImportTest, ImportsOfDifferentStudiesAllLand) {
  const struct {
    const char* label;
    bool existing;  // the database holds a study before the runs start
  } cases[] = {{"new database", false}, {"existing database", true}};
  for (const auto& c : cases) {
    for (int trial = 0; trial < 6; ++trial) {
      const std::string folder = host.Path(std::string(c.label) + std::to_string(trial));
      fs::create_directories(folder);
      const std::string db = folder + "/study.db";
      if (c.existing) {
        ASSERT_EQ(WaitHarvestor(start(db, "First")).exitStatus, 0);
      }
      const auto a = start(db, "A"), b = start(db, "B"), d = start(db, "C");
      for (const auto* run : {&a, &b, &d}) {
        const auto result = WaitHarvestor(*run);
        EXPECT_EQ(result.exitStatus, 0) << c.label << " trial " << trial << ": " << result.err;
      }
      const auto names = StudyDatabase(db).studyNames();
      EXPECT_EQ(names.size(), c.existing ? 4u : 3u) << c.label << " trial " << trial;
      for (const char* name : {"A", "B", "C"}) {
        EXPECT_EQ(StudyDatabase(db).loadStudy(name)->Results()->Count(), 2000) << name;
      }
      EXPECT_EQ(Leftovers(folder), 0) << c.label << " trial " << trial;
    }
  }
}

TEST_F(ConcurrentImportTest, OfTwoImportsOfOneNameOneLandsAndTheOtherSaysWhy) {
  for (int trial = 0; trial < 10; ++trial) {
    const std::string folder = host.Path("same" + std::to_string(trial));
    fs::create_directories(folder);
    const std::string db = folder + "/study.db";
    // Into a new database, and into one that exists already.
    WaitHarvestor(start(db + "2", "Earlier"));
    const auto a = start(db, "Run"), b = start(db, "Run");
    const auto c = start(db + "2", "Run"), d = start(db + "2", "Run");
    for (const auto& [x, y] : {std::pair{WaitHarvestor(a), WaitHarvestor(b)},
                               std::pair{WaitHarvestor(c), WaitHarvestor(d)}}) {
      EXPECT_EQ((x.exitStatus == 0) + (y.exitStatus == 0), 1) << x.err << y.err;
      const auto& refused = x.exitStatus == 0 ? y : x;
      EXPECT_EQ(refused.exitStatus, 1);
      EXPECT_NE(refused.err.find("a study named 'Run' exists already"), std::string::npos)
          << refused.err;
    }
    for (const std::string& file : {db, db + "2"}) {
      EXPECT_EQ(StudyDatabase(file).loadStudy("Run")->Results()->Count(), 2000) << trial;
    }
    EXPECT_EQ(Leftovers(folder), 0) << trial;
  }
}

TEST_F(ConcurrentImportTest, AStoppedImportLeavesNoFileHalfMadeOrBehind) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 15; ++trial) {
    const std::string folder = host.Path("stopped" + std::to_string(trial));
    fs::create_directories(folder);
    const std::string db = folder + "/study.db";
    const auto stopped = start(db, "Stopped");
    const auto other = start(db, "Other");
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
    ::kill(stopped.pid, SIGTERM);
    const auto s = WaitHarvestor(stopped), o = WaitHarvestor(other);
    EXPECT_EQ(o.exitStatus, 0) << trial << ": " << o.err;
    const auto names = StudyDatabase(db).studyNames();
    // The stopped run either finished first or left nothing of its own.
    EXPECT_EQ(names.size(), s.exitStatus == 0 ? 2u : 1u) << trial;
    EXPECT_EQ(StudyDatabase(db).loadStudy("Other")->Results()->Count(), 2000);
    EXPECT_EQ(Leftovers(folder), 0) << trial;
  }
}

TEST_F(ConcurrentImportTest, AFolderInPlaceOfTheDatabaseIsRefusedAndKept) {
  const std::string db = host.Path("taken.db");
  fs::create_directories(db);
  const auto run = WaitHarvestor(start(db, "Run"));
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find(db + ": is a folder"), std::string::npos) << run.err;
  EXPECT_TRUE(fs::is_directory(db));
}

}  // namespace
}  // namespace workstation
