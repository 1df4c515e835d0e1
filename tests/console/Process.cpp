#include "tests/console/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

extern char** environ;

namespace workstation::testing {

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

  std::vector<std::string> argStrings{HARVESTOR_COMMAND};
  argStrings.insert(argStrings.end(), args.begin(), args.end());
  std::vector<std::string> envStrings;
  for (char** e = environ; *e; ++e) {
    // Runs are headless: no window may open from a test.
    const std::string entry = *e;
    if (entry.rfind("HARVESTOR_COMPONENT_DIR=", 0) != 0 && entry.rfind("DISPLAY=", 0) != 0 &&
        entry.rfind("WAYLAND_DISPLAY=", 0) != 0)
      envStrings.push_back(entry);
  }
  if (!componentFolder.empty()) envStrings.push_back("HARVESTOR_COMPONENT_DIR=" + componentFolder);
  const auto pointers = [](std::vector<std::string>& strings) {
    std::vector<char*> list;
    for (auto& s : strings) list.push_back(s.data());
    list.push_back(nullptr);
    return list;
  };
  auto argv = pointers(argStrings), envp = pointers(envStrings);

  pid_t pid = 0;
  const int rc = posix_spawn(&pid, HARVESTOR_COMMAND, &actions, nullptr, argv.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  ::close(outFd);
  ::close(errFd);
  if (rc != 0) throw std::runtime_error("cannot start " HARVESTOR_COMMAND);
  return {pid, outPath, errPath};
}

ProcessResult WaitHarvestor(const RunningHarvestor& running) {
  int status = 0;
  ::waitpid(running.pid, &status, 0);
  const auto take = [](const std::string& path) {
    std::ostringstream s;
    s << std::ifstream(path, std::ios::binary).rdbuf();
    std::remove(path.c_str());
    return s.str();
  };
  return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), take(running.outPath),
          take(running.errPath)};
}

ProcessResult ImportSmallStudy(const std::string& db, const std::string& name) {
  const std::string tables = std::string(HARVESTOR_TEST_DATA) + "/smallstudy/tables/";
  return RunHarvestor({"import", db, "--name", name, "--fragments", tables + "fragments.tsv",
                       "--results", tables + "results.tsv", "--subjects", tables + "subjects.tsv",
                       "--traces", tables + "traces.tsv"});
}

int Temporaries(const std::string& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    count += entry.path().filename().string().starts_with(".harvestor-");
  return count;
}

}  // namespace workstation::testing
