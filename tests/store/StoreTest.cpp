// The study stores: import from tables, the study objects read back, the
// refusal of bad input with nothing written, a store of another version, on
// both engines (PostgreSQL on a throwaway server, skipped where none can
// run); then the SQLite file's own cases: foreign, old, damaged and locked
// files, the read-only guarantee and a stopped write.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "harvestor/genotype/GenoGroup.h"
#include "tests/fakes/TestHost.h"
#include "tests/store/PgTestServer.h"
#include "workstation/store/Database.h"
#include "workstation/store/FragmentPack.h"
#include "workstation/store/ImportedStudy.h"
#include "workstation/store/StudyDatabase.h"
#include "workstation/store/StudyStore.h"
#include "workstation/store/StudyTables.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;
using harvestor::testing::RefusalOf;
using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;
using testing::PgTestServer;

class StoreTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = host.Path(name);
    WriteFile(path, text);
    return path;
  }
  StudyTableFiles smallTables() {
    StudyTableFiles files;
    files.fragments =
        write("fragments.tsv",
              "result name\tSUBJECT ID\tLocus\tAllele ID\tComment\tDye\tFragment Size\t"
              "Peak Height\tPeak Area\tArea Divisor\tCondition Code\tExcluded\n"
              "R1  \tS1\tD1\t12\tok\t2\t101.5\t900\t9000\t2\t0\t0\n"
              "R1  \tS1\tD1\t14\t\t2\t105.25\t800\t8000\t1\t0\tyes\n"
              "R2\t\t\t\t\t\t\t\t\t\t\t\n"
              "R3\tS1\tD2\t\t\t3\t200\t10\t100\t1\t512\tfalse\n");
    files.results = write("results.tsv",
                          "Result Name\tSubject ID\tExcluded\tAnalysis Revision\tArea Scale\n"
                          "R3\tS1\t1\t3\t1.5\n"
                          "R0\tS9\t0\t\t\n");
    files.subjects = write("subjects.tsv",
                           "Subject ID\tResult Name\tPedigree ID\tGender\tGender\n"
                           "S1\t\tFAM1\t1\t\n"
                           "S1\tR3\tFAM2\t\t2\n");
    files.traces =
        write("traces.tsv",
              "Result Name\tDye\tScan\tValue\nR1  \t1\t0\t5\nR1  \t1\t2\t7.5\nR1  \t4\t0\t1\n"
              "R1  \t1\t1\t0\n");
    return files;
  }
  TestHost host;
};

// The same calls on either engine, each test on a fresh store of its own: a
// file in its folder, or a database made anew on the program's server.
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
  const auto results = study->Results();
  ASSERT_EQ(results->Count(), 4);
  std::vector<std::string> names;
  for (int i = 0; i < results->Count(); ++i)
    names.push_back(results->Item(i)->Result()->ResultName());
  EXPECT_EQ(names, (std::vector<std::string>{"R3", "R0", "R1  ", "R2"}));

  const auto r3 = results->Item(0);
  EXPECT_TRUE(r3->Excluded());
  const auto sample3 = r3->Result()->Sample();
  EXPECT_EQ(sample3->SubjectID(), "S1");
  EXPECT_EQ(sample3->AnalysisRevision(), 3);
  EXPECT_EQ(sample3->SubjectRecord()->AreaScale(), 1.5);
  const auto props3 = sample3->SubjectRecord()->Properties();
  ASSERT_EQ(props3->Count(), 3);  // this result's own row; an empty cell is an empty entry
  EXPECT_EQ(props3->Item(0).Name, "Pedigree ID");
  EXPECT_EQ(props3->Item(0).Value.ToText(), "FAM2");
  EXPECT_EQ(props3->Item(1).Name, "Gender");
  EXPECT_EQ(props3->Item(1).Value.GetKind(), harvestor::Variant::Kind::Text);
  EXPECT_EQ(props3->Item(1).Value.ToText(), "");
  EXPECT_EQ(props3->Item(2).Name, "Gender");
  EXPECT_EQ(props3->Item(2).Value.ToText(), "2");
  const harvestor::IFragment& unknown = r3->Fragments()->Item(0);
  EXPECT_EQ(unknown.ConditionCode(), 512);
  EXPECT_EQ(unknown.AlleleID(), "");
  EXPECT_EQ(unknown.Dye(), 3);

  EXPECT_EQ(results->Item(1)->Fragments()->Count(), 0);
  EXPECT_EQ(results->Item(1)->Result()->Sample()->AnalysisRevision(), 2);

  const auto r1 = results->Item(2);
  EXPECT_FALSE(r1->Excluded());
  EXPECT_EQ(r1->Result()->Sample()->SubjectRecord()->Properties()->Item(0).Value.ToText(), "FAM1");
  ASSERT_EQ(r1->Fragments()->Count(), 2);
  const harvestor::IFragment& f = r1->Fragments()->Item(1);
  EXPECT_EQ(f.Locus(), "D1");
  EXPECT_EQ(f.AlleleID(), "14");
  EXPECT_TRUE(f.Excluded());
  EXPECT_FLOAT_EQ(f.FragmentSize(), 105.25f);
  EXPECT_FLOAT_EQ(f.PeakArea(), 8000);
  EXPECT_FLOAT_EQ(r1->Fragments()->Item(0).AreaDivisor(), 2);
  EXPECT_EQ(r1->Fragments()->Item(0).Comment(), "ok");

  auto result1 = r1->Result();
  auto sample1 = result1->Sample();
  EXPECT_EQ(sample1->Trace(1), (std::vector<float>{5, 0, 7.5f}));
  EXPECT_EQ(sample1->Trace(4), std::vector<float>{1});
  EXPECT_TRUE(sample1->Trace(2).empty());
  EXPECT_EQ(results->Item(3)->Result()->Sample()->SubjectID(), "");
  std::shared_ptr<harvestor::ISample> none;
  result1->ReleaseSample(none);
  EXPECT_FALSE(std::static_pointer_cast<StoredResult>(result1)->holdsSample());
  EXPECT_EQ(result1->Sample()->Trace(1).size(), 3u);  // read again on demand
}

TEST_P(StoreEngineTest, PropertyValuesMayBeNumbers) {
  importStudy(store, readStudyTables("Small", smallTables()));
  sql("UPDATE sample_properties SET text_value = NULL, number_value = 2 WHERE name = 'Gender'");
  const auto study = openStudyStore(store)->loadStudy("Small");
  const auto value =
      study->Results()->Item(0)->Result()->Sample()->SubjectRecord()->Properties()->Item(1).Value;
  EXPECT_EQ(value.GetKind(), harvestor::Variant::Kind::Number);
  EXPECT_EQ(value.ToNumber(), 2.0);
}

// A refusal leaves the store as it was: the file to the byte. A fragment is
// checked as its result is read, after the results before it in the study's
// order went into the transaction; its refusal still names its line.
TEST_P(StoreEngineTest, BadTablesAreRefusedWithFileAndLineAndNothingIsWritten) {
  // Each bad value's message is the reader's (TableValidationTest): here
  // only that nothing is made.
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

TEST_F(StoreTest, ForeignAndCorruptFilesAreRefusedByName) {
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
  const std::string held = host.Path("held.db");
  addStudy(held, readStudyTables("Small", smallTables()));
  Database writer(held, Database::Mode::ReadWrite);
  writer.setBusyTimeout(0);
  writer.exec("BEGIN EXCLUSIVE");
  const std::string locked = refusal(held);
  EXPECT_NE(locked.find("database is locked"), std::string::npos) << locked;
  writer.exec("ROLLBACK");
}

// Every fragment of every result, as the study objects read them.
std::string fragmentDump(const std::string& db) {
  StudyDatabase store(db);
  const auto results = store.loadStudy("")->Results();
  std::string dump;
  for (int i = 0; i < results->Count(); ++i) {
    const auto fragments = results->Item(i)->Fragments();
    dump += results->Item(i)->Result()->ResultName() + ":";
    for (int k = 0; k < fragments->Count(); ++k) {
      const harvestor::IFragment& f = fragments->Item(k);
      dump += " " + f.Locus() + "/" + f.AlleleID() + "/" + f.Comment() + "/" +
              std::to_string(f.ConditionCode()) + "/" + std::to_string(f.Excluded()) + "/" +
              std::to_string(f.Dye()) + "/" + std::to_string(f.FragmentSize()) + "/" +
              std::to_string(f.PeakHeight()) + "/" + std::to_string(f.PeakArea()) + "/" +
              std::to_string(f.AreaDivisor());
    }
    dump += "\n";
  }
  return dump;
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

TEST_F(StoreTest, AVersion1FileIsRefusedForReadingAndUpgradedByInitStoreWithItsFragments) {
  const std::string db = host.Path("old.db");
  addStudy(db, readStudyTables("Small", smallTables()));
  const std::string expected = fragmentDump(db);
  makeVersion1(db);
  EXPECT_EQ(RefusalOf<StoreError>([&] { StudyDatabase store(db); }),
            db +
                ": study database version 1 is older than this Harvestor reads (2); 'harvestor "
                "init-store " +
                db + "' upgrades it");
  EXPECT_FALSE(createStudyDatabase(db));
  EXPECT_EQ(fragmentDump(db), expected);
  Database raw(db, Database::Mode::ReadOnly);
  Statement left(raw, "SELECT count(*) FROM sqlite_master WHERE name = 'fragments'");
  ASSERT_TRUE(left.step());
  EXPECT_EQ(left.integer(0), 0);
}

TEST_F(StoreTest, DamagedFragmentDataIsNamedWithItsFileAndResult) {
  const std::string db = host.Path("study.db");
  addStudy(db, readStudyTables("Small", smallTables()));
  {
    Database raw(db, Database::Mode::ReadWrite);
    raw.exec("UPDATE study_results SET fragments = substr(fragments, 1, 12) WHERE position = 2");
  }
  StudyDatabase store(db);
  const auto results = store.loadStudy("")->Results();
  EXPECT_EQ(RefusalOf<StoreError>([&] { results->Item(2)->Fragments()->Count(); }),
            db + ": study result 2: damaged fragment data: count too large");
}

TEST_F(StoreTest, AnExportNeverChangesTheDatabase) {
  const std::string db = host.Path("study.db");
  addStudy(db, readStudyTables("Small", smallTables()));
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

TEST_F(StoreTest, AReaderRollsBackTheWriteOfAStoppedImportAndReadsTheStudyAsItWas) {
  const std::string db = host.Path("study.db");
  addStudy(db, readStudyTables("Small", smallTables()));
  stopAWritePartWay(db);
  ASSERT_TRUE(std::filesystem::exists(db + "-journal"));
  StudyDatabase store(db);
  EXPECT_EQ(store.studyNames(), std::vector<std::string>{"Small"});
  EXPECT_EQ(store.loadStudy("Small")->Results()->Count(), 4);
  EXPECT_FALSE(std::filesystem::exists(db + "-journal"));
}

}  // namespace
}  // namespace workstation
