#include "workstation/console/Layout.h"

#include <cstdlib>
#include <filesystem>

#include "harvestor/service/HostObjects.h"

namespace workstation::console {

std::string programFolder() {
  std::error_code ec;
  const auto program = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::filesystem::current_path().string() : program.parent_path().string();
}

std::string componentFolder() {
  const char* override = std::getenv("HARVESTOR_COMPONENT_DIR");
  return override && *override ? std::string(override) : programFolder();
}

std::string workstationRoot() {
  return std::filesystem::path(componentFolder()).parent_path().string();
}

std::string demoTablesFolder() {
  return (std::filesystem::path(programFolder()).parent_path() / "examples" / "demo").string();
}

std::string demoDatabasePath() { return workstationRoot() + "/Demo/Demo.db"; }

std::string reportTemplatesFolder() { return workstationRoot() + "/ReportTemplates"; }

void setUpComponentEnvironment() {
  harvestor::HostObjects::SetEnvironment({nullptr, componentFolder(), ""});
}

}  // namespace workstation::console
