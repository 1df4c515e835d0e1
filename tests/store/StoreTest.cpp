// The study stores on both engines, each test on a fresh store of its own:
// a SQLite file, or a database made anew on a throwaway PostgreSQL server
// (skipped where none can run).
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fakes/TestHost.h"
#include "tests/store/PgTestServer.h"
#include "tests/store/StoreFixture.h"
#include "workstation/store/Database.h"
#include "workstation/store/StudyStore.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;
using harvestor::testing::RefusalOf;
using testing::PgTestServer;

class StoreEngineTest : public StoreTest, public ::testing::WithParamInterface<const char*> {
 protected:
  void SetUp() override {
    if (postgres() && !PgTestServer::instance().available())
      GTEST_SKIP() << PgTestServer::instance().why();
    store = postgres() ? "postgres:" + PgTestServer::instance().createDatabase(kDatabase)
                       : host.Path("study.db");
  }
  bool postgres() const { return GetParam() == std::string("postgres"); }
  // Runs a statement on the store past the store's code; the server keeps the
  // tables in a schema of their own.
  void sql(const std::string& statement) {
    if (postgres()) {
      ASSERT_TRUE(PgTestServer::instance().adminSql("SET search_path TO harvestor; " + statement,
                                                    kDatabase));
    } else {
      Database(store, Database::Mode::ReadWrite).exec(statement);
    }
  }
  std::vector<std::string> studyNames() { return openStudyStore(store)->studyNames(); }

  static constexpr const char* kDatabase = "engine_store";
  std::string store;
};

INSTANTIATE_TEST_SUITE_P(Engines, StoreEngineTest, ::testing::Values("sqlite", "postgres"),
                         [](const auto& engine) { return std::string(engine.param); });

TEST_P(StoreEngineTest, ImportedTablesReadBackThroughTheStudyObjects) {
  importStudy(store, readStudyTables("Small", smallTables()));
  EXPECT_EQ(studyNames(), std::vector<std::string>{"Small"});
  const auto study = openStudyStore(store)->loadStudy("");
  EXPECT_EQ(study->StudyName(), "Small");
  // An empty property cell is an empty text; a result's own subject row wins.
  EXPECT_EQ(Dump(*study),
            "R3 excluded S1 rev 3 scale 1.5 Pedigree ID=T:FAM2 Gender=T: Gender=T:2\n"
            " D2///512/0/3/200.000000/10.000000/100.000000/1.000000\n"
            "R0 S9 rev 2 scale 1\n"
            "R1   S1 rev 2 scale 1 Pedigree ID=T:FAM1 Gender=T:1 Gender=T: traces 1:5,0,7.5 4:1\n"
            " D1/12/ok/0/0/2/101.500000/900.000000/9000.000000/2.000000\n"
            " D1/14//0/1/2/105.250000/800.000000/8000.000000/1.000000\n"
            "R2  rev 2 scale 1\n"
            " ///0/0/1/0.000000/0.000000/0.000000/1.000000\n");
  const auto r1 = study->Results()->Item(2)->Result();
  ASSERT_EQ(r1->Sample()->Trace(1).size(), 3u);
  std::shared_ptr<harvestor::ISample> none;
  r1->ReleaseSample(none);
  EXPECT_FALSE(std::static_pointer_cast<StoredResult>(r1)->holdsSample());
  EXPECT_EQ(r1->Sample()->Trace(1).size(), 3u);  // read again on demand
  // The tables give text properties only; a number stored by other means reads as one.
  sql("UPDATE sample_properties SET text_value = NULL, number_value = 2 WHERE name = 'Gender'");
  const std::string dump = Dump(*openStudyStore(store)->loadStudy("Small"));
  EXPECT_NE(dump.find("Pedigree ID=T:FAM2 Gender=N:2 Gender=N:2\n"), std::string::npos) << dump;
}

// A refusal leaves the store as it was, the file to the byte, also when a bad
// fragment is read after earlier results went into the transaction.
TEST_P(StoreEngineTest, BadTablesAreRefusedWithFileAndLineAndNothingIsWritten) {
  StudyTableFiles files;
  files.fragments = write("f3.tsv", "Result Name\tLocus\nR1\tD1\n");
  EXPECT_EQ(RefusalOf<StoreError>([&] { importStudy(store, readStudyTables("Bad", files)); }),
            files.fragments + ":1: missing required column 'Subject ID'");
  if (!postgres()) {
    EXPECT_FALSE(std::filesystem::exists(store));
  }

  importStudy(store, readStudyTables("Small", smallTables()));
  importStudy(store, readStudyTables("Second", smallTables()));
  const std::string before = postgres() ? "" : ReadFile(store);
  EXPECT_NE(RefusalOf<StoreError>([&] {
              importStudy(store, readStudyTables("Small", smallTables()));
            }).find("a study named 'Small' exists already"),
            std::string::npos);
  const std::string late = write(
      "late.tsv", "Result Name\tSubject ID\tDye\nR1\tS1\t1\nR2\tS2\t1\nR1\tS1\t2\nR2\tS2\t70000\n");
  EXPECT_EQ(RefusalOf<StoreError>([&] {
              importStudy(store, "Late", [&](const ResultSink& add) {
                StudyTablesReader({late, "", "", ""}).read(add);
              });
            }),
            late + ":5: column 'Dye': '70000' is not a whole number from -32768 to 32767");
  if (!postgres()) {
    EXPECT_EQ(ReadFile(store), before);
  }
  EXPECT_EQ(studyNames(), (std::vector<std::string>{"Small", "Second"}));
}

TEST_P(StoreEngineTest, AStoreOfAnotherVersionIsRefusedByName) {
  EXPECT_TRUE(initStudyStore(store));
  EXPECT_FALSE(initStudyStore(store));
  sql(std::string("UPDATE ") + (postgres() ? "meta" : "harvestor_meta") +
      " SET value = '7' WHERE key = 'schema_version'");
  const std::string refused = RefusalOf<StoreError>([&] { openStudyStore(store); });
  EXPECT_NE(refused.find(postgres() ? "study store version 7 cannot be read"
                                    : store + ": study database version 7 cannot be read"),
            std::string::npos)
      << refused;
  EXPECT_THROW(importStudy(store, readStudyTables("Small", smallTables())), StoreError);
}

}  // namespace
}  // namespace workstation
