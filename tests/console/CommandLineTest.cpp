// The command line's conventions, on the real harvestor command: the
// version, help, short options, "--option=value", "--" and the exit statuses
// of usage errors.
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

TEST(CommandLineTest, VersionComesFromTheVersionFile) {
  std::ifstream in(std::string(HARVESTOR_TEST_DATA) + "/../../VERSION");
  std::string version;
  std::getline(in, version);
  ASSERT_FALSE(version.empty());
  for (const char* option : {"--version", "-V"}) {
    const auto r = RunHarvestor({option});
    EXPECT_EQ(r.exitStatus, 0) << option;
    EXPECT_EQ(r.out, "harvestor " + version + "\n") << option;
  }
}

TEST(CommandLineTest, HelpOfEveryCommandShowsItsOwnUsage) {
  std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--help"}, "COMMAND"}, {{"-h"}, "COMMAND"}, {{"help"}, "COMMAND"}};
  for (const char* command : {"import", "export-study", "export-results", "locus-list", "loh",
                              "demo", "init-store", "completion"}) {
    cases.push_back({{"help", command}, command});
    cases.push_back({{command, "-h"}, command});
  }
  for (const auto& [args, usage] : cases) {
    const auto r = RunHarvestor(args);
    EXPECT_EQ(r.exitStatus, 0) << args[0] << " " << args.back();
    EXPECT_EQ(r.out.rfind("usage: harvestor " + usage, 0), 0u) << args[0] << ":\n" << r.out;
    EXPECT_EQ(r.err, "") << args[0] << " " << args.back();
  }
  EXPECT_NE(RunHarvestor({"--help"}).out.find("3  an export that wrote no subject"),
            std::string::npos);
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
  const std::vector<std::vector<std::string>> cases = {
      {"-s", "Study", "-f", "csv", "-o", host.Path("short.csv")},
      {"--study=Study", "--format=csv", "--output=" + host.Path("long.csv")},
      {"-fcsv", "-o" + host.Path("joined.csv")},
  };
  for (const auto& options : cases) {
    std::vector<std::string> args{"export-study"};
    args.insert(args.end(), options.begin(), options.end());
    args.insert(args.end(), {"--", db});
    const auto r = RunHarvestor(args);
    EXPECT_EQ(r.exitStatus, 0) << options.back() << ": " << r.err;
  }
  for (const char* file : {"short.csv", "long.csv", "joined.csv"})
    EXPECT_TRUE(std::filesystem::exists(host.Path(file))) << file;
  // After "--" nothing is an option: a database may be named like one, and a
  // second database is one argument too many.
  const auto named =
      RunHarvestor({"export-study", "-f", "csv", "-o", host.Path("x.csv"), "--", "--verbose"});
  EXPECT_EQ(named.exitStatus, 2);
  EXPECT_NE(named.err.find("no such file: --verbose"), std::string::npos) << named.err;
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
                           "csv pedin dmp gsr", "--version"})
    EXPECT_NE(r.out.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace workstation
