// The build installed with cmake --install and run as a user with a fresh
// data folder: everything it writes lands there, nothing under the prefix.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>

#include "tests/fakes/TestHost.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;

std::set<std::string> listing(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    names.insert(fs::relative(entry.path(), folder).string());
  }
  return names;
}

struct Shell {
  int status = -1;
  std::string out;
};

// Runs a shell command line, standard error with standard output.
Shell run(const std::string& command) {
  Shell shell;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return shell;
  char block[4096];
  for (std::size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;)
    shell.out.append(block, n);
  const int status = ::pclose(pipe);
  shell.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return shell;
}

TEST(InstalledSystemTest, StateLivesInTheUsersDataFolderAndNothingUnderThePrefix) {
  harvestor::testing::TestHost host;
  const std::string prefix = host.Path("prefix"), data = host.Path("data");
  const Shell installed =
      run("cmake --install '" HARVESTOR_BUILD_DIR "' --prefix '" + prefix + "'");
  ASSERT_EQ(installed.status, 0) << installed.out;
  for (const char* file :
       {"bin/harvestor", "share/man/man1/harvestor.1",
        "share/bash-completion/completions/harvestor", "share/harvestor/ReportTemplates/LOH.xls",
        "share/harvestor/examples/demo/fragments.tsv"}) {
    EXPECT_TRUE(fs::exists(fs::path(prefix) / file)) << file;
  }
  const auto before = listing(prefix);

  const std::string as = "env -u HARVESTOR_COMPONENT_DIR HOME='" + host.root + "' XDG_DATA_HOME='" +
                         data + "' '" + prefix + "/bin/harvestor' ";
  const std::string tables = std::string(HARVESTOR_SOURCE_DIR) + "/examples/tables/";
  const std::string user = data + "/harvestor";
  const struct Step {
    std::string args;
    const char* said;
  } steps[] = {
      {"--version", "harvestor "},
      {"locus-list path", "/harvestor/Export/LocusList.txt"},
      {"locus-list set D1 D2", ""},
      {"import '" + host.Path("study.db") + "' -n Lab --fragments '" + tables +
           "fragments.tsv' --results '" + tables + "results.tsv' --subjects '" + tables +
           "subjects.tsv'",
       "Imported study 'Lab'"},
      {"export-study '" + host.Path("study.db") + "' -f pedin -o '" + host.Path("Lab.pre") + "'",
       "Subjects: "},
  };
  for (const Step& step : steps) {
    const Shell shell = run(as + step.args);
    EXPECT_EQ(shell.status, 0) << step.args << "\n" << shell.out;
    EXPECT_NE(shell.out.find(step.said), std::string::npos) << step.args << "\n" << shell.out;
  }
  EXPECT_TRUE(fs::is_regular_file(user + "/Export/LocusList.txt"));
  EXPECT_TRUE(fs::is_regular_file(user + "/ReportTemplates/LOH.xls"));
  EXPECT_FALSE(fs::is_symlink(user + "/ReportTemplates/LOH.xls"));
  EXPECT_EQ(listing(prefix), before);
}

}  // namespace
}  // namespace workstation
