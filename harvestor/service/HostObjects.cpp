#include "harvestor/service/HostObjects.h"

#include <filesystem>
#include <locale>
#include <system_error>

#include "harvestor/service/HError.h"

namespace harvestor::HostObjects {
namespace {

HostGlobals g_host;
ComponentEnvironment g_environment;

template <class T>
T& Required(T* object) {
  if (object == nullptr) RaiseError(ErrNo::ObjectNotSet);
  return *object;
}

}  // namespace

void Install(const HostGlobals& globals) { g_host = globals; }
const HostGlobals& Installed() { return g_host; }
void SetEnvironment(ComponentEnvironment environment) { g_environment = std::move(environment); }

IHostApplication& Application() { return Required(g_host.HostApplication); }
IStudyService& StudyService() { return Required(g_host.StudyService); }
IFragmentFilter& FragmentFilter() { return Required(g_host.FragmentFilter); }
IHostUtility& HostUtility() { return Required(g_host.HostUtility); }
IUserInterface& UserInterface() { return Required(g_host.UserInterface); }
ISpreadsheetAutomation& Spreadsheet() { return Required(g_host.Spreadsheet); }
IHostLibraries& Libraries() { return Required(g_host.Libraries); }
IHostUtility* Utility() { return g_host.HostUtility; }

const IClock& Clock() {
  static const SystemClock system;
  return g_environment.Clock ? *g_environment.Clock : system;
}

std::string ComponentFolder() {
  if (!g_environment.ComponentFolder.empty()) return g_environment.ComponentFolder;
  std::error_code ec;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) return std::filesystem::current_path(ec).string();
  return program.parent_path().string();
}

std::string DecimalSeparator() {
  if (!g_environment.DecimalSeparator.empty()) return g_environment.DecimalSeparator;
  try {
    const std::locale user("");
    return std::string(1, std::use_facet<std::numpunct<char>>(user).decimal_point());
  } catch (const std::exception&) {
    return ".";
  }
}

}  // namespace harvestor::HostObjects
