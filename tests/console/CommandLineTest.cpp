// The command line's conventions, on the real harvestor command: the
// version, help, short options, "--option=value", "--" and the exit statuses
// of usage errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;
using testing::RunHarvestor;

std::string sourceVersion() {
  std::ifstream in(std::string(HARVESTOR_TEST_DATA) + "/../../VERSION");
  std::string line;
  std::getline(in, line);
  return line;
}

TEST(CommandLineTest, VersionComesFromTheVersionFile) {
  const std::string version = sourceVersion();
  ASSERT_FALSE(version.empty());
  for (const char* option : {"--version", "-V"}) {
    const auto r = RunHarvestor({option});
    EXPECT_EQ(r.exitStatus, 0) << option;
    EXPECT_EQ(r.out, "harvestor " + version + "\n") << option;
  }
}

struct HelpCase {
  std::vector<std::string> args;
  std::string startsWith;
};

TEST(CommandLineTest, HelpOfEveryCommandShowsItsOwnUsage) {
  const std::vector<HelpCase> cases = {
      {{"--help"}, "usage: harvestor COMMAND"},
      {{"-h"}, "usage: harvestor COMMAND"},
      {{"help"}, "usage: harvestor COMMAND"},
      {{"help", "import"}, "usage: harvestor import STUDY.db"},
      {{"import", "-h"}, "usage: harvestor import STUDY.db"},
      {{"help", "export-study"}, "usage: harvestor export-study STUDY.db"},
      {{"export-study", "--help"}, "usage: harvestor export-study STUDY.db"},
      {{"help", "export-results"}, "usage: harvestor export-results"},
      {{"help", "locus-list"}, "usage: harvestor locus-list"},
      {{"help", "loh"}, "usage: harvestor loh"},
      {{"help", "demo"}, "usage: harvestor demo"},
      {{"help", "init-store"}, "usage: harvestor init-store"},
      {{"help", "completion"}, "usage: harvestor completion"},
  };
  for (const auto& c : cases) {
    const auto r = RunHarvestor(c.args);
    const std::string shown = c.args.back();
    EXPECT_EQ(r.exitStatus, 0) << shown;
    EXPECT_EQ(r.out.rfind(c.startsWith, 0), 0u) << shown << ":\n" << r.out;
    EXPECT_EQ(r.err, "") << shown;
  }
  // The general help and every command's help list the exit statuses.
  EXPECT_NE(RunHarvestor({"--help"}).out.find("3  an export that wrote no subject"),
            std::string::npos);
}

struct UsageCase {
  std::vector<std::string> args;
  std::string err;  // the first line on standard error; the second says where help is
};

TEST(CommandLineTest, UsageErrorsSayWhatIsWrongAndExitWithTwo) {
  const std::vector<UsageCase> cases = {
      {{"frobnicate"}, "harvestor: unknown command 'frobnicate'"},
      {{"--colour"}, "harvestor: unknown option '--colour'"},
      {{"help", "frobnicate"}, "harvestor: unknown command 'frobnicate'"},
      {{"help", "import", "more"}, "harvestor help: unexpected argument 'more'"},
      {{"import", "x.db"}, "harvestor import: --name is required"},
      {{"import", "x.db", "--colour=red", "-n", "S"},
       "harvestor import: unknown option '--colour'"},
      {{"import", "x.db", "-n"}, "harvestor import: --name: 1 required NAME missing"},
      {{"import", "x.db", "-n", "X", "--linkage", "f.pre"}, "harvestor import: --loci is required"},
      {{"import", "x.db", "-n", "X", "--genepop", "f.gen", "--fragments", "f.tsv"},
       "harvestor import: --genepop takes no --fragments"},
      {{"export-study", "x.db", "-f", "xls", "-o", "out"},
       "harvestor export-study: --format: xls not in {csv,pedin,dmp,gsr}"},
      {{"export-study", "x.db", "-f", "csv", "-o", "out", "-y", "--no"},
       "harvestor export-study: no such file: x.db"},
      {{"export-study", "x.db", "--format", "csv"}, "harvestor export-study: --output is required"},
      {{"completion", "zsh"}, "harvestor completion: SHELL: zsh not in {bash}"},
  };
  for (const auto& c : cases) {
    const auto r = RunHarvestor(c.args);
    EXPECT_EQ(r.exitStatus, 2) << c.err;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), c.err) << r.err;
    EXPECT_EQ(r.err.substr(r.err.find('\n') + 1).rfind("Run 'harvestor ", 0), 0u) << r.err;
  }
  EXPECT_EQ(RunHarvestor({}).exitStatus, 2);
}

TEST(CommandLineTest, ShortOptionsEqualsSignsAndTheEndOfOptions) {
  TestHost host;
  const std::string fragments = host.Path("fragments.tsv");
  WriteFile(fragments, "Result Name\tSubject ID\tLocus\tAllele ID\nR1\tS1\tD1\t12\n");
  const std::string db = host.Path("study.db");
  const auto imported =
      RunHarvestor({"import", "-n", "Study", "--fragments=" + fragments, "--", db});
  ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  ASSERT_TRUE(std::filesystem::exists(db));

  struct Case {
    std::vector<std::string> options;
    std::string file;
  };
  const std::vector<Case> cases = {
      {{"-s", "Study", "-f", "csv", "-o", host.Path("short.csv")}, "short.csv"},
      {{"--study=Study", "--format=csv", "--output=" + host.Path("long.csv")}, "long.csv"},
      {{"-fcsv", "-o" + host.Path("joined.csv")}, "joined.csv"},
  };
  for (const auto& c : cases) {
    std::vector<std::string> args{"export-study"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.insert(args.end(), {"--", db});
    const auto r = RunHarvestor(args);
    EXPECT_EQ(r.exitStatus, 0) << c.file << ": " << r.err;
    EXPECT_TRUE(std::filesystem::exists(host.Path(c.file))) << c.file;
  }
  // After "--" nothing is an option: a database may be named like one.
  const auto named =
      RunHarvestor({"export-study", "-f", "csv", "-o", host.Path("named.csv"), "--", "--verbose"});
  EXPECT_EQ(named.exitStatus, 2);
  EXPECT_NE(named.err.find("no such file: --verbose"), std::string::npos) << named.err;
  // And a second database is one argument too many.
  const auto extra = RunHarvestor(
      {"export-study", "-f", "csv", "-o", host.Path("extra.csv"), "--", db, "--verbose"});
  EXPECT_EQ(extra.exitStatus, 2);
  EXPECT_NE(extra.err.find("unexpected argument '--verbose'"), std::string::npos) << extra.err;
  EXPECT_FALSE(std::filesystem::exists(host.Path("extra.csv")));
}

TEST(CommandLineTest, CompletionOffersCommandsOptionsAndFormats) {
  const auto r = RunHarvestor({"completion", "bash"});
  ASSERT_EQ(r.exitStatus, 0) << r.err;
  for (const char* word : {"complete -F _harvestor harvestor", "export-study", "--output",
                           "csv pedin dmp gsr", "--version"}) {
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
  }
}

}  // namespace
}  // namespace workstation
