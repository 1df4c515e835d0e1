// The study stores on both engines (PostgreSQL on a throwaway server, skipped
// where none can run), then the SQLite file's own cases: foreign, old,
// damaged and locked files, the read-only guarantee and a stopped write.
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

// The study as its objects read it: a line a result, then one a fragment.
std::string Dump(StoredStudy& study) {
  const auto results = study.Results();
  std::string dump;
  for (int i = 0; i < results->Count(); ++i) {
    const auto item = results->Item(i);
    const auto sample = item->Result()->Sample();
    dump += item->Result()->ResultName() + (item->Excluded() ? " excluded " : " ") +
            sample->SubjectID() + " rev " + std::to_string(sample->AnalysisRevision()) + " scale " +
            harvestor::Variant::FromNumber(sample->SubjectRecord()->AreaScale()).ToText();
    const auto properties = sample->SubjectRecord()->Properties();
    for (int p = 0; p < properties->Count(); ++p) {
      const auto& v = properties->Item(p).Value;
      dump += " " + properties->Item(p).Name +
              (v.GetKind() == harvestor::Variant::Kind::Number ? "=N:" : "=T:") + v.ToText();
    }
    std::string traces;
    for (std::int16_t dye = 1; dye <= 4; ++dye) {
      std::string values;
      for (float x : sample->Trace(dye))
        values += (values.empty() ? "" : ",") + harvestor::Variant::FromNumber(x).ToText();
      if (!values.empty()) traces += " " + std::to_string(dye) + ":" + values;
    }
    dump += (traces.empty() ? "" : " traces" + traces) + "\n";
    const auto fragments = item->Fragments();
    for (int k = 0; k < fragments->Count(); ++k) {
      const harvestor::IFragment& f = fragments->Item(k);
      dump += " " + f.Locus() + "/" + f.AlleleID() + "/" + f.Comment() + "/" +
              std::to_string(f.ConditionCode()) + "/" + std::to_string(f.Excluded()) + "/" +
              std::to_string(f.Dye()) + "/" + std::to_string(f.FragmentSize()) + "/" +
              std::to_string(f.PeakHeight()) + "/" + std::to_string(f.PeakArea()) + "/" +
              std::to_string(f.AreaDivisor()) + "\n";
    }
  }
  return dump;
}

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
}

TEST_P(StoreEngineTest, PropertyValuesMayBeNumbers) {
  importStudy(store, readStudyTables("Small", smallTables()));
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
  const std::string before = Dump(*StudyDatabase(db).loadStudy("Small"));
  stopAWritePartWay(db);
  ASSERT_TRUE(std::filesystem::exists(db + "-journal"));
  EXPECT_EQ(Dump(*StudyDatabase(db).loadStudy("Small")), before);
  EXPECT_FALSE(std::filesystem::exists(db + "-journal"));
}

}  // namespace
}  // namespace workstation
