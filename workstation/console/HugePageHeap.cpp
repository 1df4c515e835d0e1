#include "workstation/console/HugePageHeap.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace workstation::console {
namespace {

// Set for the restarted process: the user's GLIBC_TUNABLES, after a mark
// that tells "unset" from "empty".
const char* const kSaved = "HARVESTOR_OWN_GLIBC_TUNABLES";

bool hugePagesOnRequest() {
  std::ifstream mode("/sys/kernel/mm/transparent_hugepage/enabled");
  std::string line;
  return std::getline(mode, line) && line.find("[madvise]") != std::string::npos;
}

}  // namespace

std::optional<std::string> tunablesWithHugePages(const char* own) {
  const std::string current = own ? own : "";
  if (current.find("glibc.malloc.hugetlb=") != std::string::npos) return std::nullopt;
  return current.empty() ? "glibc.malloc.hugetlb=1" : current + ":glibc.malloc.hugetlb=1";
}

void useHugePageHeap(char** argv) {
  if (const char* saved = std::getenv(kSaved)) {
    if (saved[0] == '=') {
      ::setenv("GLIBC_TUNABLES", saved + 1, 1);
    } else {
      ::unsetenv("GLIBC_TUNABLES");
    }
    ::unsetenv(kSaved);
    return;
  }
  const char* own = std::getenv("GLIBC_TUNABLES");
  const auto tunables = tunablesWithHugePages(own);
  if (!tunables || !hugePagesOnRequest()) return;
  const std::string saved = own ? std::string("=") + own : std::string("-");
  ::setenv(kSaved, saved.c_str(), 1);
  ::setenv("GLIBC_TUNABLES", tunables->c_str(), 1);
  // By the program's own path, not /proc/self/exe, so that ps and top still
  // call it harvestor.
  std::error_code ec;
  const auto self = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (!ec) ::execv(self.c_str(), argv);
  // No restart: run as we are, with the environment as it came.
  ::unsetenv(kSaved);
  if (own) {
    ::setenv("GLIBC_TUNABLES", saved.c_str() + 1, 1);
  } else {
    ::unsetenv("GLIBC_TUNABLES");
  }
}

}  // namespace workstation::console
