// The SQLite study database's own cases: foreign, old, damaged and locked
// files, the read-only guarantee and a stopped write.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "harvestor/genotype/GenoGroup.h"
#include "tests/fakes/TestHost.h"
#include "tests/store/StoreFixture.h"
#include "workstation/store/Database.h"
#include "workstation/store/FragmentPack.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;
using harvestor::testing::RefusalOf;
using StoreFileTest = StoreTest;

TEST_F(StoreFileTest, ForeignAndCorruptFilesAreRefusedByName) {
  auto refusal = [](const std::string& path) {
    return RefusalOf<StoreError>([&] { StudyDatabase store(path); });
  };
  const std::string text = write("notes.db", "this is not a database at all, just some text\n");
  EXPECT_EQ(refusal(text), text + ": not a Harvestor study database");
  EXPECT_EQ(refusal(host.Path("missing.db")), host.Path("missing.db") + ": no such study database");
  const std::string foreign = host.Path("foreign.db");
  {
    Database raw(foreign, Database::Mode::ReadWriteCreate);
    raw.exec("CREATE TABLE t(x)");
  }
  EXPECT_EQ(refusal(foreign), foreign + ": not a Harvestor study database");
  EXPECT_THROW(addStudy(foreign, readStudyTables("Small", smallTables())), StoreError);
  // A study database another connection holds locked is named as locked,
  // not taken for a file of something else.
  const std::string held = smallDatabase("held.db");
  Database writer(held, Database::Mode::ReadWrite);
  writer.setBusyTimeout(0);
  writer.exec("BEGIN EXCLUSIVE");
  const std::string locked = refusal(held);
  EXPECT_NE(locked.find("database is locked"), std::string::npos) << locked;
  writer.exec("ROLLBACK");
}

// Rewrites a study database as version 1 kept it: a row per fragment.
void makeVersion1(const std::string& path) {
  Database raw(path, Database::Mode::ReadWrite);
  raw.exec(
      "CREATE TABLE fragments(study_result_id INTEGER NOT NULL REFERENCES study_results(id), "
      "position INTEGER NOT NULL, locus TEXT NOT NULL, allele_id TEXT NOT NULL, comment TEXT NOT "
      "NULL, condition_code INTEGER NOT NULL, excluded INTEGER NOT NULL, dye INTEGER NOT NULL, "
      "fragment_size REAL NOT NULL, peak_height REAL NOT NULL, peak_area REAL NOT NULL, "
      "area_divisor REAL NOT NULL, PRIMARY KEY(study_result_id, position)) WITHOUT ROWID");
  Statement packs(raw, "SELECT id, fragments FROM study_results");
  Statement add(raw, "INSERT INTO fragments VALUES(?,?,?,?,?,?,?,?,?,?,?,?)");
  std::vector<harvestor::FragmentRecord> fragments;
  while (packs.step()) {
    decodeFragments(packs.blob(1), fragments);
    for (std::size_t k = 0; k < fragments.size(); ++k) {
      const auto& f = fragments[k];
      add.bind(1, packs.integer(0)).bind(2, static_cast<std::int64_t>(k));
      add.bind(3, std::string_view(f.locus)).bind(4, std::string_view(f.alleleId));
      add.bind(5, std::string_view(f.comment)).bind(6, std::int64_t{f.conditionCode});
      add.bind(7, std::int64_t{f.excluded}).bind(8, std::int64_t{f.dye});
      add.bind(9, double{f.size}).bind(10, double{f.height}).bind(11, double{f.area});
      add.bind(12, double{f.divisor}).run();
    }
  }
  packs.reset();
  raw.exec("ALTER TABLE study_results DROP COLUMN fragments");
  raw.exec("UPDATE harvestor_meta SET value = '1' WHERE key = 'schema_version'");
}

TEST_F(StoreFileTest, AVersion1FileIsRefusedForReadingAndUpgradedByInitStoreWithItsFragments) {
  const std::string db = smallDatabase("old.db");
  const std::string expected = Dump(*StudyDatabase(db).loadStudy(""));
  makeVersion1(db);
  EXPECT_EQ(RefusalOf<StoreError>([&] { StudyDatabase store(db); }),
            db +
                ": study database version 1 is older than this Harvestor reads (2); 'harvestor "
                "init-store " +
                db + "' upgrades it");
  EXPECT_FALSE(createStudyDatabase(db));
  EXPECT_EQ(Dump(*StudyDatabase(db).loadStudy("")), expected);
  Database raw(db, Database::Mode::ReadOnly);
  Statement left(raw, "SELECT count(*) FROM sqlite_master WHERE name = 'fragments'");
  EXPECT_TRUE(left.step() && left.integer(0) == 0);  // the old table is gone
}

// Damaged packed fragments are refused, never read as fragments, and named
// with the file and the result they belong to.
TEST_F(StoreFileTest, DamagedFragmentDataIsNamedWithItsFileAndResult) {
  const std::pair<std::string, std::string> damages[] = {
      {"substr(fragments, 1, length(fragments) - 1)", "cut short"},
      {"fragments || X'00'", "bytes after the last fragment"},
      {"X'48524631'", "cut short"},
      {"X''", "cut short"},
      {"X'00000000'", "not a pack"},
      {"X'48524631ffffff7f'", "count too large"},
      {"substr(fragments, 1, 12)", "count too large"},
  };
  for (const auto& [damage, reason] : damages) {
    SCOPED_TRACE(damage);
    const std::string db = smallDatabase("study.db");
    Database(db, Database::Mode::ReadWrite)
        .exec("UPDATE study_results SET fragments = " + damage + " WHERE position = 2");
    StudyDatabase store(db);
    const auto results = store.loadStudy("")->Results();
    EXPECT_EQ(RefusalOf<StoreError>([&] { results->Item(2)->Fragments()->Count(); }),
              db + ": study result 2: damaged fragment data: " + reason);
    std::filesystem::remove(db);
  }
}

TEST_F(StoreFileTest, AnExportNeverChangesTheDatabase) {
  const std::string db = smallDatabase("study.db");
  const std::string before = ReadFile(db);
  host.WriteLocusList("D1\r\nD2\r\n");
  {
    StudyDatabase store(db);
    const auto study = store.loadStudy("Small");
    harvestor::GenoGroup group;
    group.BuildGenoGroup(*study);
    group.ExportAsPedin(host.Path("out.pre"));
    group.ExportAsDMP(host.Path("out.txt"));
    group.ExportAsGSR(host.Path("out.gsr"));
    EXPECT_EQ(store.studyLoci("Small"), (std::vector<std::string>{"D2", "D1"}));
  }
  EXPECT_EQ(ReadFile(db), before);
  EXPECT_EQ(
      ReadFile(host.Path("out.pre")),
      "FAM1 S1 ? ? ? 0 0 12 12 ? ?\r\n? S9 ? ? ? 0 0 ? ? ? ?\r\n");  // the later, empty Gender wins
  EXPECT_FALSE(std::filesystem::exists(db + "-journal"));
}

// A write stopped part way, as by a killed import: a child process changes
// the file past its cache and ends without committing, leaving its journal.
void stopAWritePartWay(const std::string& path) {
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    sqlite3* db = nullptr;
    sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_exec(db,
                 "PRAGMA cache_size = 1; BEGIN; DELETE FROM study_results; CREATE TABLE junk(x);"
                 "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
                 " INSERT INTO junk SELECT randomblob(1000) FROM n;",
                 nullptr, nullptr, nullptr);
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
}

TEST_F(StoreFileTest, AReaderRollsBackTheWriteOfAStoppedImportAndReadsTheStudyAsItWas) {
  const std::string db = smallDatabase("study.db");
  const std::string before = Dump(*StudyDatabase(db).loadStudy("Small"));
  stopAWritePartWay(db);
  ASSERT_TRUE(std::filesystem::exists(db + "-journal"));
  EXPECT_EQ(Dump(*StudyDatabase(db).loadStudy("Small")), before);
  EXPECT_FALSE(std::filesystem::exists(db + "-journal"));
}

}  // namespace
}  // namespace workstation
