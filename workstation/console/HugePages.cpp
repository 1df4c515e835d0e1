#include "workstation/console/HugePages.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace workstation::console {

std::optional<std::string> tunablesForHugePages(const char* current, std::string_view setting) {
  constexpr std::string_view kTunable = "glibc.malloc.hugetlb";
  // The setting marks its choice in brackets: "always [madvise] never".
  if (setting.find("[always]") == std::string_view::npos &&
      setting.find("[madvise]") == std::string_view::npos) {
    return std::nullopt;
  }
  const std::string_view had = current == nullptr ? std::string_view() : current;
  if (had.find(kTunable) != std::string_view::npos) return std::nullopt;
  std::string tunables(had);
  if (!tunables.empty()) tunables += ':';
  tunables.append(kTunable).append("=1");
  return tunables;
}

bool holdsAStudy(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "import" || arg == "export-study" || arg == "export-results" || arg == "loh") {
      return true;
    }
  }
  return false;
}

void restartWithHugePages(char** argv) {
  std::ifstream file("/sys/kernel/mm/transparent_hugepage/enabled");
  const std::string setting((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
  const char* current = std::getenv("GLIBC_TUNABLES");
  const std::optional<std::string> had =
      current == nullptr ? std::nullopt : std::optional<std::string>(current);
  const std::optional<std::string> tunables = tunablesForHugePages(current, setting);
  if (!tunables) return;
  // The program's own file, by its real name: started as /proc/self/exe,
  // the process would be listed as "exe".
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || ::setenv("GLIBC_TUNABLES", tunables->c_str(), 1) != 0) return;
  ::execv(self.c_str(), argv);
  // Not restarted: the command runs on as it is, and what it starts gets
  // the environment it was given.
  if (had) {
    ::setenv("GLIBC_TUNABLES", had->c_str(), 1);
  } else {
    ::unsetenv("GLIBC_TUNABLES");
  }
}

}  // namespace workstation::console
