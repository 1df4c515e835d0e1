#include "workstation/console/Layout.h"

#include <cstdlib>
#include <filesystem>

#include "harvestor/service/HostObjects.h"

namespace workstation::console {
namespace {

namespace fs = std::filesystem;

std::string environment(const char* name) {
  const char* value = std::getenv(name);
  return value && *value ? std::string(value) : std::string();
}

// $XDG_DATA_HOME/harvestor, or ~/.local/share/harvestor.
fs::path userDataFolder() {
  std::string base = environment("XDG_DATA_HOME");
  if (base.empty()) base = environment("HOME") + "/.local/share";
  return fs::path(base) / "harvestor";
}

// A user's copy of a template is replaced by a newer installed one, but not
// while Calc has it open (its lock file lies beside it). The copy is made
// beside the file and renamed into place, so a template is never half there.
void copyTemplate(const fs::path& installed, const fs::path& folder) {
  const fs::path copy = folder / installed.filename();
  std::error_code ec;
  if (fs::exists(copy, ec) && fs::last_write_time(copy, ec) >= fs::last_write_time(installed, ec))
    return;
  if (fs::exists(folder / (".~lock." + installed.filename().string() + "#"), ec)) return;
  const fs::path temporary = folder / (".harvestor-" + installed.filename().string());
  if (!fs::copy_file(installed, temporary, fs::copy_options::overwrite_existing, ec)) return;
  fs::rename(temporary, copy, ec);
  if (ec) fs::remove(temporary, ec);
}

}  // namespace

std::string programFolder() {
  std::error_code ec;
  const auto program = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::current_path().string() : program.parent_path().string();
}

std::string installedShareFolder() {
  const fs::path share = fs::path(programFolder()).parent_path() / "share" / "harvestor";
  std::error_code ec;
  return fs::is_directory(share, ec) ? share.string() : std::string();
}

std::string componentFolder() {
  if (std::string override = environment("HARVESTOR_COMPONENT_DIR"); !override.empty()) {
    return override;
  }
  // "app": the component finds its siblings by cutting a three-letter folder name.
  if (!installedShareFolder().empty()) return (userDataFolder() / "app").string();
  return programFolder();
}

std::string workstationRoot() { return fs::path(componentFolder()).parent_path().string(); }

std::string demoTablesFolder() {
  const std::string share = installedShareFolder();
  const fs::path root = share.empty() ? fs::path(programFolder()).parent_path() : fs::path(share);
  return (root / "examples" / "demo").string();
}

std::string demoDatabasePath() { return workstationRoot() + "/Demo/Demo.db"; }

std::string reportTemplatesFolder() { return workstationRoot() + "/ReportTemplates"; }

void setUpComponentEnvironment() {
  const std::string share = installedShareFolder();
  if (!share.empty() && environment("HARVESTOR_COMPONENT_DIR").empty()) {
    std::error_code ec;
    const fs::path root = workstationRoot();
    for (const char* folder : {"app", "Export", "ReportTemplates"}) {
      fs::create_directories(root / folder, ec);
    }
    for (const auto& entry : fs::directory_iterator(fs::path(share) / "ReportTemplates", ec)) {
      if (entry.is_regular_file(ec)) copyTemplate(entry.path(), root / "ReportTemplates");
    }
  }
  harvestor::HostObjects::SetEnvironment({nullptr, componentFolder(), ""});
}

}  // namespace workstation::console
