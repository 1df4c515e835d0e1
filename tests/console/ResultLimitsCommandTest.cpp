// The real harvestor command at the result export's 16-bit limits: a
// selection larger than one run can count is exported in runs of at most
// 32766 results, or refused before anything is written where runs cannot
// help (one CRV set, one fixed file name numbered for every result).
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using testing::RunHarvestor;

std::string ResultName(int i) { return "R" + std::to_string(100000 + i); }

// A study of that many results, each of one subject with one called locus
// and a one-scan trace (a CRV set takes only results with traces).
std::string ImportStudyOf(const harvestor::testing::TestHost& host, int results) {
  const std::string folder = host.Path("tables");
  fs::create_directories(folder);
  std::ofstream fragments(folder + "/fragments.tsv"), table(folder + "/results.tsv"),
      traces(folder + "/traces.tsv");
  fragments << "Result Name\tSubject ID\tLocus\tAllele ID\tCondition Code\tComment\n";
  table << "Result Name\tSubject ID\tExcluded\n";
  traces << "Result Name\tDye\tScan\tValue\n";
  for (int i = 0; i < results; ++i) {
    fragments << ResultName(i) << "\tS" << i << "\tD1\t12\t0\t\n";
    table << ResultName(i) << "\tS" << i << "\t0\n";
    traces << ResultName(i) << "\t1\t0\t" << i % 1000 << "\n";
  }
  fragments.close();
  table.close();
  traces.close();
  const std::string db = host.Path("study.db");
  const auto imported =
      RunHarvestor({"import", db, "--name", "Large", "--fragments", folder + "/fragments.tsv",
                    "--results", folder + "/results.tsv", "--traces", folder + "/traces.tsv"});
  EXPECT_EQ(imported.exitStatus, 0) << imported.err;
  return db;
}

// A fresh folder for the files written, in memory when the machine has a
// memory filesystem: every file is synced before it is put in place, which
// on a disk makes tens of thousands of files take minutes.
class OutputFolder {
 public:
  explicit OutputFolder(const std::string& fallback) {
    std::string pattern = "/dev/shm/harvestor-limits-XXXXXX";
    if (fs::is_directory("/dev/shm") && ::mkdtemp(pattern.data()) != nullptr) {
      path_ = pattern;
    } else {
      path_ = fallback;
      fs::create_directories(path_);
    }
  }
  ~OutputFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

std::size_t FilesIn(const std::string& folder) {
  std::size_t count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    EXPECT_FALSE(entry.path().filename().string().starts_with(".harvestor-")) << entry.path();
    ++count;
  }
  return count;
}

// The end of a long output, for a failure message.
std::string Tail(const std::string& text) {
  return text.substr(text.size() > 1000 ? text.size() - 1000 : 0);
}

std::size_t LinesOf(const std::string& text, const std::string& prefix) {
  std::size_t count = 0;
  for (std::size_t at = 0; (at = text.find(prefix, at)) != std::string::npos; ++at) ++count;
  return count;
}

TEST(ResultLimitsCommandTest, FortyThousandResultsAreExportedInTwoRuns) {
  harvestor::testing::TestHost host;
  const std::string db = ImportStudyOf(host, 40000);
  const OutputFolder folder(host.Path("Out"));
  const std::string& out = folder.path();
  const auto run = RunHarvestor(
      {"export-results", db, "--format", "text", "--output", out + "/{Result Name}", "--all"});
  ASSERT_EQ(run.exitStatus, 0) << Tail(run.err);
  EXPECT_EQ(run.err.find("Overflow"), std::string::npos);
  EXPECT_NE(run.err.find("Run 1 of 2: results 1 to 32766 of 40000\n"), std::string::npos);
  EXPECT_NE(run.err.find("Run 2 of 2: results 32767 to 40000 of 40000\n"), std::string::npos);
  EXPECT_EQ(run.out.rfind("Results: 40000 exported, 0 failed, 0 skipped\nFiles written:\n", 0), 0u);
  EXPECT_NE(run.out.find("Exported in 2 of 2 runs of at most 32766 results, as the export's "
                         "16-bit counters allow; each run kept an export log of its own.\n"),
            std::string::npos);
  EXPECT_EQ(LinesOf(run.out, ".txt ("), 10u);  // the rest in one line
  EXPECT_NE(run.out.find("  and 39990 more files ("), std::string::npos);
  EXPECT_EQ(FilesIn(out), 40000u);
  // Every result in its own file, the last run's first and last included.
  for (int i : {0, 32765, 32766, 39999}) {
    EXPECT_TRUE(fs::exists(out + "/" + ResultName(i) + ".txt")) << i;
  }
}

TEST(ResultLimitsCommandTest, SelectionsAtTheLimitRunOnceTwiceOrAreRefused) {
  const struct {
    int results;
    const char* format;
    const char* name;  // the template's file name
    int exitStatus;
    std::size_t runs;  // 0: refused
    const char* said;  // on standard error
  } cases[] = {
      {32766, "text", "{Result Name}", 0, 1, "Exported: 32766 of 32766 files"},
      {32767, "text", "{Result Name}", 0, 2, "Run 2 of 2: results 32767 to 32767 of 32767\n"},
      {32768, "zal", "{Result Name}", 0, 2, "Run 2 of 2: results 32767 to 32768 of 32768\n"},
      {32766, "crv", "Plate", 0, 1, "Exported: 32766 of 32766 files"},
      {32767, "crv", "Plate", 2, 0,
       "harvestor export-results: more than 32766 results selected for one CRV set (32767 "
       "selected): its run counts one past the results it has taken in 16-bit counters, which "
       "stop at 32767; nothing was written.\n"},
      {32768, "text", "Plate", 2, 0,
       "harvestor export-results: more than 32767 results selected for one fixed file name "
       "(32768 selected): conflict resolution numbers its files with a 16-bit counter, which "
       "stops at 32767; nothing was written.\n"},
  };
  harvestor::testing::TestHost host;
  const std::string db = ImportStudyOf(host, 32768);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.results) + " " + c.format + " " + c.name);
    const OutputFolder folder(host.Path("Out-" + std::to_string(c.results) + c.format));
    const std::string& out = folder.path();
    std::vector<std::string> args{"export-results", db,         "--format",
                                  c.format,         "--output", out + "/" + c.name};
    for (int i = 0; i < c.results; ++i) args.insert(args.end(), {"--result", ResultName(i)});
    const auto run = RunHarvestor(args);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << Tail(run.err);
    EXPECT_NE(run.err.find(c.said), std::string::npos) << Tail(run.err);
    EXPECT_EQ(run.err.find("Overflow"), std::string::npos);
    if (c.runs == 0) {
      EXPECT_TRUE(fs::is_empty(out));
      EXPECT_EQ(run.out, "");
      continue;
    }
    EXPECT_EQ(LinesOf(run.err, "Run 1 of 2: "), c.runs == 2 ? 1u : 0u);
    const std::size_t files = std::string(c.format) == "crv" ? 5 : std::size_t(c.results);
    EXPECT_EQ(FilesIn(out), files);
    EXPECT_NE(run.out.find("Results: " + std::to_string(c.results) + " exported, 0 failed"),
              std::string::npos);
  }
}

TEST(ResultLimitsCommandTest, AnOverflowOfNumberedNamesSaysWhatWasTooMany) {
  harvestor::testing::TestHost host;
  const std::string db = ImportStudyOf(host, 1);
  const OutputFolder folder(host.Path("Out"));
  const std::string& out = folder.path();
  // Plate.txt and Plate_1.txt to Plate_32766.txt taken: the next number passes 32767.
  std::ofstream(out + "/Plate.txt") << "taken";
  for (int k = 1; k <= 32766; ++k) std::ofstream(out + "/Plate_" + std::to_string(k) + ".txt");
  const auto run = RunHarvestor({"export-results", db, "--format", "text", "--output",
                                 out + "/Plate", "--result", ResultName(0)});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find("harvestor export-results: more than 32767 numbered names of one file "
                         "were found taken: conflict resolution counts them with a 16-bit "
                         "counter, which stops at 32767; give another file name or remove the "
                         "numbered files.\n"),
            std::string::npos)
      << Tail(run.err);
  EXPECT_EQ(FilesIn(out), 32767u);
}

}  // namespace
}  // namespace workstation
