#include "tests/console/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace workstation::testing {
namespace {

std::string slurp(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

}  // namespace

ProcessResult RunHarvestor(const std::vector<std::string>& args,
                           const std::string& componentFolder) {
  return WaitHarvestor(StartHarvestor(args, componentFolder));
}

RunningHarvestor StartHarvestor(const std::vector<std::string>& args,
                                const std::string& componentFolder) {
  char outPath[] = "/tmp/harvestor-out-XXXXXX";
  char errPath[] = "/tmp/harvestor-err-XXXXXX";
  const int outFd = ::mkstemp(outPath);
  const int errFd = ::mkstemp(errPath);
  if (outFd < 0 || errFd < 0) throw std::runtime_error("mkstemp failed");

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  posix_spawn_file_actions_adddup2(&actions, errFd, 2);

  std::vector<std::string> argv_strings{HARVESTOR_COMMAND};
  argv_strings.insert(argv_strings.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (auto& a : argv_strings) argv.push_back(a.data());
  argv.push_back(nullptr);

  std::vector<std::string> env_strings;
  for (char** e = environ; *e; ++e) {
    // Runs are headless: no window may open from a test.
    const std::string entry = *e;
    if (entry.rfind("HARVESTOR_COMPONENT_DIR=", 0) == 0 || entry.rfind("DISPLAY=", 0) == 0 ||
        entry.rfind("WAYLAND_DISPLAY=", 0) == 0) {
      continue;
    }
    env_strings.push_back(entry);
  }
  if (!componentFolder.empty()) env_strings.push_back("HARVESTOR_COMPONENT_DIR=" + componentFolder);
  std::vector<char*> envp;
  for (auto& e : env_strings) envp.push_back(e.data());
  envp.push_back(nullptr);

  pid_t pid = 0;
  const int rc = posix_spawn(&pid, HARVESTOR_COMMAND, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(outFd);
  ::close(errFd);
  if (rc != 0) throw std::runtime_error("cannot start " HARVESTOR_COMMAND);
  return {pid, outPath, errPath};
}

ProcessResult WaitHarvestor(const RunningHarvestor& running) {
  const std::string& outPath = running.outPath;
  const std::string& errPath = running.errPath;
  int status = 0;
  ::waitpid(running.pid, &status, 0);
  ProcessResult result;
  result.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  result.out = slurp(outPath);
  result.err = slurp(errPath);
  std::remove(outPath.c_str());
  std::remove(errPath.c_str());
  return result;
}

ProcessResult ImportSmallStudy(const std::string& db, const std::string& name) {
  const std::string tables = std::string(HARVESTOR_TEST_DATA) + "/smallstudy/tables/";
  return RunHarvestor({"import", db, "--name", name, "--fragments", tables + "fragments.tsv",
                       "--results", tables + "results.tsv", "--subjects", tables + "subjects.tsv",
                       "--traces", tables + "traces.tsv"});
}

}  // namespace workstation::testing
