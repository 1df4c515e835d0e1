// The result export's 16-bit limits end to end. Where each selection splits
// is ResultRunsTest's.
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

// Each result has a one-scan trace: a CRV set takes only results with traces.
std::string ImportStudyOf(const harvestor::testing::TestHost& host, int results) {
  const std::string tables = host.Path("");
  {
    std::ofstream fragments(tables + "fragments.tsv"), table(tables + "results.tsv"),
        traces(tables + "traces.tsv");
    fragments << "Result Name\tSubject ID\tLocus\tAllele ID\tCondition Code\tComment\n";
    table << "Result Name\tSubject ID\tExcluded\n";
    traces << "Result Name\tDye\tScan\tValue\n";
    for (int i = 0; i < results; ++i) {
      fragments << ResultName(i) << "\tS" << i << "\tD1\t12\t0\t\n";
      table << ResultName(i) << "\tS" << i << "\t0\n";
      traces << ResultName(i) << "\t1\t0\t" << i % 1000 << "\n";
    }
  }
  const std::string db = host.Path("study.db");
  const auto imported =
      RunHarvestor({"import", db, "--name", "Large", "--fragments", tables + "fragments.tsv",
                    "--results", tables + "results.tsv", "--traces", tables + "traces.tsv"});
  EXPECT_EQ(imported.exitStatus, 0) << imported.err;
  return db;
}

// In memory where possible: every file is synced before it is put in
// place, which on a disk makes tens of thousands of files take minutes.
struct OutputFolder {
  explicit OutputFolder(const std::string& fallback) {
    std::string pattern = "/dev/shm/harvestor-limits-XXXXXX";
    path = fs::is_directory("/dev/shm") && ::mkdtemp(pattern.data()) ? pattern : fallback;
    fs::create_directories(path);
  }
  ~OutputFolder() {
    std::error_code ec;
    fs::remove_all(path, ec);
  }
  OutputFolder(const OutputFolder&) = delete;
  OutputFolder& operator=(const OutputFolder&) = delete;
  std::string path;
};

std::size_t FilesIn(const std::string& folder) {
  EXPECT_EQ(testing::Temporaries(folder), 0);
  return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

std::string Tail(const std::string& text) {
  return text.substr(text.size() > 1000 ? text.size() - 1000 : 0);
}

TEST(ResultLimitsCommandTest, ASelectionPastOneRunIsExportedInTwoOrRefused) {
  std::vector<std::string> first32767;  // a selection by name one past a run
  for (int i = 0; i < 32767; ++i) first32767.insert(first32767.end(), {"--result", ResultName(i)});
  const struct {
    const char* format;
    const char* name;  // the template's file name
    std::vector<std::string> selection;
    int exitStatus;
    std::string said;  // on standard error
  } cases[] = {
      {"zal", "{Result Name}", first32767, 0, "Run 2 of 2: results 32767 to 32767 of 32767\n"},
      {"text", "{Result Name}", {"--all"}, 0, "Run 2 of 2: results 32767 to 32768 of 32768\n"},
      {"crv",
       "Plate",
       {"--all"},
       2,
       "harvestor export-results: more than 32766 results selected for one CRV set (32768 "
       "selected): its run counts one past the results it has taken in 16-bit counters, which "
       "stop at 32767; nothing was written.\n"},
      {"text",
       "Plate",
       {"--all"},
       2,
       "harvestor export-results: more than 32767 results selected for one fixed file name "
       "(32768 selected): conflict resolution numbers its files with a 16-bit counter, which "
       "stops at 32767; nothing was written.\n"},
  };
  harvestor::testing::TestHost host;
  const std::string db = ImportStudyOf(host, 32768);
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.format) + " " + c.name);
    const OutputFolder folder(host.Path(std::string("Out-") + c.format + c.name));
    std::vector<std::string> args{"export-results", db,         "--format",
                                  c.format,         "--output", folder.path + "/" + c.name};
    args.insert(args.end(), c.selection.begin(), c.selection.end());
    const auto run = RunHarvestor(args);
    EXPECT_EQ(run.exitStatus, c.exitStatus) << Tail(run.err);
    EXPECT_NE(run.err.find(c.said), std::string::npos) << Tail(run.err);
    EXPECT_EQ(run.err.find("Overflow"), std::string::npos);
    if (c.exitStatus != 0) {
      EXPECT_TRUE(fs::is_empty(folder.path));
      EXPECT_EQ(run.out, "");
      continue;
    }
    const std::size_t results = c.selection.size() == 1 ? 32768 : 32767;
    EXPECT_NE(run.err.find("Run 1 of 2: results 1 to 32766 of "), std::string::npos);
    EXPECT_EQ(FilesIn(folder.path), results);
    EXPECT_EQ(run.out.rfind("Results: " + std::to_string(results) +
                                " exported, 0 failed, 0 skipped\nFiles written:\n",
                            0),
              0u);
    EXPECT_NE(run.out.find("Exported in 2 of 2 runs of at most 32766 results, as the export's "
                           "16-bit counters allow; each run kept an export log of its own.\n"),
              std::string::npos);
    EXPECT_NE(run.out.find("  and " + std::to_string(results - 10) + " more files ("),
              std::string::npos);
  }
}

TEST(ResultLimitsCommandTest, AnOverflowOfNumberedNamesSaysWhatWasTooMany) {
  harvestor::testing::TestHost host;
  const std::string db = ImportStudyOf(host, 1);
  const OutputFolder folder(host.Path("Out"));
  // Plate.txt and Plate_1.txt to Plate_32766.txt taken: the next number passes 32767.
  std::ofstream(folder.path + "/Plate.txt") << "taken";
  for (int k = 1; k <= 32766; ++k)
    std::ofstream(folder.path + "/Plate_" + std::to_string(k) + ".txt");
  const auto run = RunHarvestor({"export-results", db, "--format", "text", "--output",
                                 folder.path + "/Plate", "--result", ResultName(0)});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find("harvestor export-results: more than 32767 numbered names of one file "
                         "were found taken: conflict resolution counts them with a 16-bit "
                         "counter, which stops at 32767; give another file name or remove the "
                         "numbered files.\n"),
            std::string::npos)
      << Tail(run.err);
  EXPECT_EQ(FilesIn(folder.path), 32767u);
}

}  // namespace
}  // namespace workstation
