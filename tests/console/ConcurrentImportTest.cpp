// Several harvestor imports into one store at the same moment, as real
// processes, into SQLite and PostgreSQL (skipped where no server can run).
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"
#include "tests/store/PgTestServer.h"
#include "workstation/store/StudyDatabase.h"
#include "workstation/store/StudyStore.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using testing::Temporaries;
using testing::WaitHarvestor;

class ConcurrentImportTest : public ::testing::Test {
 protected:
  ConcurrentImportTest() {
    // Big enough that an import takes a few milliseconds, so the runs overlap.
    std::string table = "Result Name\tSubject ID\tLocus\tAllele ID\n";
    for (int r = 0; r < 2000; ++r) {
      for (int l = 0; l < 10; ++l)
        table += "R" + std::to_string(r) + "\tS" + std::to_string(r) + "\tD" + std::to_string(l) +
                 "\t" + std::to_string(100 + r % 7) + "\n";
    }
    harvestor::testing::WriteFile(fragments, table);
  }
  testing::RunningHarvestor start(const std::string& db, const std::string& name) {
    return testing::StartHarvestor({"import", db, "--name", name, "--fragments", fragments});
  }
  harvestor::testing::TestHost host;
  std::string fragments = host.Path("fragments.tsv");
};

class ConcurrentEngineImportTest : public ConcurrentImportTest,
                                   public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    if (postgres() && !testing::PgTestServer::instance().available())
      GTEST_SKIP() << testing::PgTestServer::instance().why();
  }
  bool postgres() const { return GetParam() == std::string("postgres"); }
  // A fresh store in a folder of its own: a file there, or a new database on the server.
  std::string newStore(const std::string& folder) {
    fs::create_directories(folder);
    if (!postgres()) return folder + "/study.db";
    return "postgres:" +
           testing::PgTestServer::instance().createDatabase("store_" + std::to_string(++stores_));
  }
  int results(const std::string& store, const std::string& study) {
    return openStudyStore(store)->loadStudy(study)->Results()->Count();
  }

 private:
  int stores_ = 0;
};

INSTANTIATE_TEST_SUITE_P(Engines, ConcurrentEngineImportTest,
                         ::testing::Values("sqlite", "postgres"),
                         [](const auto& engine) { return std::string(engine.param); });

// Into a new store the first imports also race to create the file or the
// schema; of two imports of one name one lands and the other says why.
TEST_P(ConcurrentEngineImportTest, EveryStudyLandsOnceAndARefusedImportSaysWhy) {
  for (int trial = 0; trial < 8; ++trial) {
    for (const bool existing : {false, true}) {  // the store holds a study before the runs
      SCOPED_TRACE(std::string(existing ? "existing" : "new") + " trial " + std::to_string(trial));
      const std::string folder = host.Path(std::to_string(existing) + std::to_string(trial));
      const std::string store = newStore(folder);
      if (existing) {
        ASSERT_EQ(WaitHarvestor(start(store, "First")).exitStatus, 0);
      }
      const auto a = start(store, "A"), b = start(store, "B");
      const auto c = start(store, "Run"), d = start(store, "Run");
      for (const auto* run : {&a, &b}) {
        const auto result = WaitHarvestor(*run);
        EXPECT_EQ(result.exitStatus, 0) << result.err;
      }
      const auto x = WaitHarvestor(c), y = WaitHarvestor(d);
      EXPECT_EQ((x.exitStatus == 0) + (y.exitStatus == 0), 1) << x.err << y.err;
      const auto& refused = x.exitStatus == 0 ? y : x;
      EXPECT_EQ(refused.exitStatus, 1);
      EXPECT_NE(refused.err.find("a study named 'Run' exists already"), std::string::npos)
          << refused.err;
      EXPECT_EQ(openStudyStore(store)->studyNames().size(), existing ? 4u : 3u);
      for (const char* name : {"A", "B", "Run"}) EXPECT_EQ(results(store, name), 2000) << name;
      EXPECT_EQ(Temporaries(folder), 0);
    }
  }
}

TEST_F(ConcurrentImportTest, AStoppedImportLeavesNoFileHalfMadeOrBehind) {
  std::mt19937 random(7);
  for (int trial = 0; trial < 15; ++trial) {
    SCOPED_TRACE(trial);
    const std::string folder = host.Path("stopped" + std::to_string(trial));
    fs::create_directories(folder);
    const std::string db = folder + "/study.db";
    const auto stopped = start(db, "Stopped"), other = start(db, "Other");
    std::this_thread::sleep_for(std::chrono::microseconds(random() % 30000));
    ::kill(stopped.pid, SIGTERM);
    const auto s = WaitHarvestor(stopped), o = WaitHarvestor(other);
    EXPECT_EQ(o.exitStatus, 0) << o.err;
    // The stopped run either finished first or left nothing of its own.
    EXPECT_EQ(StudyDatabase(db).studyNames().size(), s.exitStatus == 0 ? 2u : 1u);
    EXPECT_EQ(StudyDatabase(db).loadStudy("Other")->Results()->Count(), 2000);
    EXPECT_EQ(Temporaries(folder), 0);
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
