// The command line's conventions on the real harvestor command.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

using testing::RunHarvestor;

TEST(CommandLineTest, VersionHelpAndCompletionPrintTheirTextAndExitWithZero) {
  std::ifstream in(std::string(HARVESTOR_TEST_DATA) + "/../../VERSION");
  std::string version;
  std::getline(in, version);
  ASSERT_FALSE(version.empty());
  struct Case {
    std::vector<std::string> args;
    std::string begins;
    std::vector<std::string> holds = {};
  };
  std::vector<Case> cases = {
      {{"--version"}, "harvestor " + version + "\n"},
      {{"-V"}, "harvestor " + version + "\n"},
      {{"--help"}, "usage: harvestor COMMAND", {"3  an export that wrote no subject"}},
      {{"-h"}, "usage: harvestor COMMAND"},
      {{"help"}, "usage: harvestor COMMAND"},
      {{"completion", "bash"},
       "",
       {"complete -F _harvestor harvestor", "export-study", "--output", "csv pedin dmp gsr",
        "--version"}}};
  for (const char* command : {"import", "export-study", "export-results", "locus-list", "loh",
                              "demo", "init-store", "completion"}) {
    cases.push_back({{"help", command}, std::string("usage: harvestor ") + command});
    cases.push_back({{command, "-h"}, std::string("usage: harvestor ") + command});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args.back());
    const auto r = RunHarvestor(c.args);
    EXPECT_EQ(r.exitStatus, 0);
    EXPECT_TRUE(r.out.starts_with(c.begins)) << r.out;
    for (const std::string& word : c.holds) EXPECT_NE(r.out.find(word), std::string::npos) << word;
    EXPECT_EQ(r.err, "");
  }
}

TEST(CommandLineTest, UsageErrorsSayWhatIsWrongAndExitWithTwo) {
  // The first line on standard error; the second says where help is.
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
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
      // After "--" nothing is an option: a database may be named like one.
      {{"export-study", "-f", "csv", "-o", "out", "--", "--verbose"},
       "harvestor export-study: no such file: --verbose"},
  };
  for (const auto& [args, said] : cases) {
    const auto r = RunHarvestor(args);
    EXPECT_EQ(r.exitStatus, 2) << said;
    EXPECT_EQ(r.err.substr(0, r.err.find('\n')), said) << r.err;
    EXPECT_EQ(r.err.substr(r.err.find('\n') + 1).rfind("Run 'harvestor ", 0), 0u) << r.err;
  }
  EXPECT_EQ(RunHarvestor({}).exitStatus, 2);
}

TEST(CommandLineTest, ShortOptionsEqualsSignsAndTheEndOfOptions) {
  harvestor::testing::TestHost host;
  const std::string fragments = host.Path("fragments.tsv"), db = host.Path("study.db");
  harvestor::testing::WriteFile(fragments,
                                "Result Name\tSubject ID\tLocus\tAllele ID\nR1\tS1\tD1\t12\n");
  const auto imported =
      RunHarvestor({"import", "-n", "Study", "--fragments=" + fragments, "--", db});
  ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"-s", "Study", "-f", "csv", "-o", host.Path("short.csv")}, "short.csv"},
      {{"--study=Study", "--format=csv", "--output=" + host.Path("long.csv")}, "long.csv"},
      {{"-fcsv", "-o" + host.Path("joined.csv")}, "joined.csv"},
  };
  for (const auto& [options, file] : cases) {
    std::vector<std::string> args{"export-study"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"--", db});
    EXPECT_EQ(RunHarvestor(args).exitStatus, 0) << file;
    EXPECT_TRUE(std::filesystem::exists(host.Path(file))) << file;
  }
  // After "--" a second database is one argument too many.
  const auto extra = RunHarvestor(
      {"export-study", "-f", "csv", "-o", host.Path("extra.csv"), "--", db, "--verbose"});
  EXPECT_EQ(extra.exitStatus, 2);
  EXPECT_NE(extra.err.find("unexpected argument '--verbose'"), std::string::npos) << extra.err;
  EXPECT_FALSE(std::filesystem::exists(host.Path("extra.csv")));
}

}  // namespace
}  // namespace workstation
