// The same commands on both engines, as real harvestor runs: a study imported
// into a SQLite file and into a PostgreSQL server exports to the same bytes
// in every format; an export during an import reads one snapshot; a reader
// role; init-store on a server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <map>
#include <regex>

#include "harvestor/service/Text.h"
#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"
#include "tests/store/GeneratedStudy.h"
#include "tests/store/PgTestServer.h"
#include "workstation/store/StudyStore.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::testing::ReadFile;
using testing::FirstDifference;
using testing::PgTestServer;
using testing::RunHarvestor;

// What a run wrote or printed, with its own folders and time stamps
// replaced so that two runs can be compared.
std::string Normalised(const std::string& text, const std::string& out, const std::string& store) {
  static const std::regex stamp("[0-9]+/[0-9]+/[0-9]{4} [0-9]+:[0-9]{2}:[0-9]{2} [AP]M");
  const std::string replaced =
      harvestor::ReplaceAll(harvestor::ReplaceAll(text, out, "{OUT}"), store, "{STORE}");
  return std::regex_replace(replaced, stamp, "{TIME}");
}

// Every file under folder by its relative name, normalised.
std::map<std::string, std::string> Files(const std::string& folder, const std::string& store) {
  std::map<std::string, std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[fs::relative(entry.path(), folder).string()] =
        Normalised(ReadFile(entry.path().string()), folder, store);
  }
  return files;
}

class PgEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PgTestServer::instance().available()) GTEST_SKIP() << PgTestServer::instance().why();
  }
  // A fresh database on the test server, as a command's store argument.
  static std::string NewServerStore(const std::string& name) {
    return "postgres:" + PgTestServer::instance().createDatabase(name);
  }
  testing::ProcessResult Import(const std::string& store, const std::string& name,
                                const StudyTableFiles& t) {
    std::vector<std::string> args{"import", store, "--name", name, "--fragments", t.fragments};
    if (!t.results.empty()) args.insert(args.end(), {"--results", t.results});
    if (!t.subjects.empty()) args.insert(args.end(), {"--subjects", t.subjects});
    if (!t.traces.empty()) args.insert(args.end(), {"--traces", t.traces});
    return RunHarvestor(args);
  }
  StudyTableFiles SmallTables() const {
    const std::string t = std::string(HARVESTOR_TEST_DATA) + "/smallstudy/tables/";
    return {t + "fragments.tsv", t + "results.tsv", t + "subjects.tsv", t + "traces.tsv"};
  }

  harvestor::testing::TestHost host;
};

TEST_F(PgEngineTest, EveryExportIsTheSameFromBothEngines) {
  const struct {
    const char* study;
    int generated;  // subjects of a generated study, or 0 for the small study with traces
  } studies[] = {{"Small", 0}, {"Generated", 300}};
  // A command's words, then its store and study are put in, then the rest with {OUT} filled in.
  const std::vector<std::vector<std::string>> commands = {
      {"export-study", "--format", "pedin", "--output", "{OUT}/Study.pre"},
      {"export-study", "--format", "dmp", "--output", "{OUT}/Study.txt"},
      {"export-study", "--format", "gsr", "--output", "{OUT}/Study.gsr"},
      {"export-study", "--format", "csv", "--output", "{OUT}/Study.csv"},
      {"export-results", "--format", "text", "--output", "{OUT}/{Result Name}", "--all", "--header",
       "--result-data"},
      {"export-results", "--format", "zal", "--output", "{OUT}/{Result Name}", "--all"},
      {"export-results", "--format", "crv", "--output", "{OUT}/Plate", "--all"},
      {"locus-list", "edit", "--no"},
  };
  const std::string sqlite = host.Path("study.db");
  const std::string server = NewServerStore("engines_same");
  host.WriteLocusList(testing::GeneratedLocusList());
  for (const auto& s : studies) {
    const StudyTableFiles tables =
        s.generated == 0 ? SmallTables() : testing::WriteGeneratedStudy(s.generated, host.root);
    for (const std::string& store : {sqlite, server}) {
      const auto imported = Import(store, s.study, tables);
      ASSERT_EQ(imported.exitStatus, 0) << store << ": " << imported.err;
    }
    for (const auto& c : commands) {
      const std::string label = c[0] + " " + c[c.size() > 4 ? 2 : 1];
      SCOPED_TRACE(std::string(s.study) + " " + label);
      std::map<std::string, std::string> outputs[2];
      std::string printed[2];
      int status[2] = {0, 0};
      for (int engine = 0; engine < 2; ++engine) {
        const std::string& store = engine == 0 ? sqlite : server;
        // One folder for both engines, emptied between them: the component
        // shortens long paths in what it prints, so only equal paths compare.
        const std::string out = host.Path("out");
        fs::remove_all(out);
        fs::create_directories(out);
        const std::size_t words = c[0] == "locus-list" ? 2 : 1;
        std::vector<std::string> args(c.begin(), c.begin() + static_cast<long>(words));
        args.insert(args.end(), {store, "--study", s.study});
        for (std::size_t a = words; a < c.size(); ++a)
          args.push_back(harvestor::ReplaceAll(c[a], "{OUT}", out));
        const auto run = RunHarvestor(args, host.root + "/App/bin");
        // The small study's CRV set leaves out the results without traces, and says so.
        if (label != "export-results crv") {
          EXPECT_EQ(run.exitStatus, 0) << store << ": " << run.err;
        }
        status[engine] = run.exitStatus;
        outputs[engine] = Files(out, store);
        printed[engine] = Normalised(run.out + run.err, out, store);
      }
      EXPECT_FALSE(outputs[0].empty() && printed[0].empty());
      EXPECT_EQ(status[0], status[1]);
      EXPECT_TRUE(printed[0] == printed[1]) << FirstDifference(printed[1], printed[0]);
      ASSERT_EQ(outputs[0].size(), outputs[1].size());
      for (const auto& [name, bytes] : outputs[0]) {
        EXPECT_TRUE(outputs[1][name] == bytes)
            << name << " differs between the engines: " << FirstDifference(outputs[1][name], bytes);
      }
    }
  }
}

TEST_F(PgEngineTest, AnExportDuringAnImportReadsOneSnapshot) {
  const std::string store = NewServerStore("engines_snapshot");
  ASSERT_EQ(Import(store, "Small", SmallTables()).exitStatus, 0);
  const std::string before = host.Path("before"), during = host.Path("during");
  fs::create_directories(before);
  fs::create_directories(during);
  const auto exportTo = [&](const std::string& out) {
    return RunHarvestor({"export-study", store, "--study", "Small", "--format", "csv", "--output",
                         out + "/Study.csv"},
                        host.root + "/App/bin");
  };
  ASSERT_EQ(exportTo(before).exitStatus, 0);
  const StudyTableFiles big = testing::WriteGeneratedStudy(3000, host.root);
  const auto importing =
      testing::StartHarvestor({"import", store, "--name", "Big", "--fragments", big.fragments,
                               "--results", big.results, "--subjects", big.subjects});
  for (int i = 0; i < 5; ++i) {
    const auto run = exportTo(during);
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    EXPECT_EQ(ReadFile(during + "/Study.csv"), ReadFile(before + "/Study.csv"));
  }
  EXPECT_EQ(testing::WaitHarvestor(importing).exitStatus, 0);
}

// A reader role exports but is refused an import, which leaves no study.
// (A refused password is PgConnectionTest's.)
TEST_F(PgEngineTest, AReaderRoleExportsButIsRefusedAnImport) {
  auto& server = PgTestServer::instance();
  const std::string admin = NewServerStore("engines_reader");
  ASSERT_EQ(Import(admin, "Small", SmallTables()).exitStatus, 0);
  ASSERT_TRUE(
      server.adminSql("DROP ROLE IF EXISTS lab_reader_e; CREATE ROLE lab_reader_e LOGIN PASSWORD "
                      "'Reader-Secret-7'"));
  ASSERT_TRUE(
      server.adminSql("GRANT USAGE ON SCHEMA harvestor TO lab_reader_e; "
                      "GRANT SELECT ON ALL TABLES IN SCHEMA harvestor TO lab_reader_e",
                      "engines_reader"));
  const std::string reader = "postgres:" + server.conninfo("lab_reader_e", "engines_reader");
  setenv("PGPASSWORD", "Reader-Secret-7", 1);
  const auto exported =
      RunHarvestor({"export-study", reader, "--format", "csv", "--output", host.Path("Study.csv")},
                   host.root + "/App/bin");
  const auto refused = Import(reader, "Refused", SmallTables());
  unsetenv("PGPASSWORD");
  EXPECT_EQ(exported.exitStatus, 0) << exported.err;
  EXPECT_EQ(refused.exitStatus, 1);
  EXPECT_NE(refused.err.find("this role may read studies but not import them"), std::string::npos)
      << refused.err;
  EXPECT_NE(RunHarvestor({"export-study", admin, "--study", "Refused", "--format", "csv",
                          "--output", host.Path("Refused.csv")})
                .err.find("no study named 'Refused'"),
            std::string::npos);
}

// A store of another version is StoreTest's, on both engines; here what
// init-store says of a server.
TEST_F(PgEngineTest, InitStoreCreatesTheSchemaOnceAndSaysSo) {
  const std::string store = NewServerStore("engines_init");
  const auto created = RunHarvestor({"init-store", store});
  EXPECT_EQ(created.exitStatus, 0) << created.err;
  EXPECT_NE(created.out.find("Created the study store"), std::string::npos);
  EXPECT_NE(RunHarvestor({"init-store", store}).out.find("is ready"), std::string::npos);
}

}  // namespace
}  // namespace workstation
