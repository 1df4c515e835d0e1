#include "workstation/spreadsheet/CalcAutomation.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "harvestor/service/HError.h"
#include "harvestor/service/Text.h"

namespace workstation {
namespace {

const char* const kSource = "LibreOffice Calc";

[[noreturn]] void fail(std::int32_t number, const std::string& description) {
  throw harvestor::HError(number, kSource, description);
}

// Starts the program detached from this process, its output discarded.
void startDetached(const std::string& program, const std::vector<std::string>& args) {
  const pid_t child = ::fork();
  if (child < 0) fail(7, "Cannot start " + program);
  if (child == 0) {
    ::setsid();
    if (::fork() != 0) ::_exit(0);
    const int null = ::open("/dev/null", O_RDWR);
    ::dup2(null, 0);
    ::dup2(null, 1);
    ::dup2(null, 2);
    std::vector<std::string> argvStrings{program};
    argvStrings.insert(argvStrings.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : argvStrings) argv.push_back(a.data());
    argv.push_back(nullptr);
    ::execv(program.c_str(), argv.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(child, &status, 0);
}

class CalcWorkbook;

class CalcApplication final : public harvestor::ISpreadsheetApplication,
                              public std::enable_shared_from_this<CalcApplication> {
 public:
  CalcApplication(std::string program, std::string active)
      : program_(std::move(program)), active_(std::move(active)) {}
  std::shared_ptr<harvestor::ISpreadsheetWorkbook> ActiveWorkbook() override;
  std::shared_ptr<harvestor::ISpreadsheetWorkbook> OpenWorkbook(const std::string& path) override;
  void SetVisible(bool) override {}  // Calc shows the workbook as it starts
  void Quit() override {}            // nothing was started for this instance

 private:
  std::string program_;
  std::string active_;
};

class CalcWorkbook final : public harvestor::ISpreadsheetWorkbook {
 public:
  CalcWorkbook(std::string path, std::shared_ptr<harvestor::ISpreadsheetApplication> application)
      : path_(std::move(path)), application_(std::move(application)) {}
  std::string FullName() override { return path_; }
  std::shared_ptr<harvestor::ISpreadsheetApplication> Application() override {
    return application_;
  }

 private:
  std::string path_;
  std::shared_ptr<harvestor::ISpreadsheetApplication> application_;
};

std::shared_ptr<harvestor::ISpreadsheetWorkbook> CalcApplication::ActiveWorkbook() {
  if (active_.empty()) fail(91, "LibreOffice Calc has no workbook open");
  return std::make_shared<CalcWorkbook>(active_, shared_from_this());
}

std::shared_ptr<harvestor::ISpreadsheetWorkbook> CalcApplication::OpenWorkbook(
    const std::string& path) {
  if (!displayAvailable()) {
    fail(429, "LibreOffice Calc cannot show " + path +
                  ": there is no display on this machine (DISPLAY is not set). The LOH input file "
                  "has been written; open the workbook on a machine with a display.");
  }
  startDetached(program_, {"--calc", "--norestore", path});
  return std::make_shared<CalcWorkbook>(path, shared_from_this());
}

}  // namespace

std::string calcLockFile(const std::string& document) {
  const std::filesystem::path p(document);
  return (p.parent_path() / (".~lock." + p.filename().string() + "#")).string();
}

bool calcIsRunning() {
  std::error_code ec;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", ec)) {
    std::ifstream comm(entry.path() / "comm");
    std::string name;
    if (comm && std::getline(comm, name) && (name == "soffice.bin" || name == "soffice"))
      return true;
  }
  return false;
}

bool displayAvailable() {
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
}

std::string CalcAutomation::programPath() const {
  const std::string& program = settings_.program;
  if (program.find('/') != std::string::npos)
    return ::access(program.c_str(), X_OK) == 0 ? program : "";
  const char* path = std::getenv("PATH");
  std::string folders = path ? path : "/usr/local/bin:/usr/bin:/bin";
  std::size_t start = 0;
  while (start <= folders.size()) {
    const std::size_t end = std::min(folders.find(':', start), folders.size());
    const std::string candidate = folders.substr(start, end - start) + "/" + program;
    if (end > start && ::access(candidate.c_str(), X_OK) == 0) return candidate;
    start = end + 1;
  }
  return "";
}

std::string CalcAutomation::openWorkbook() const {
  if (!calcIsRunning()) return "";
  std::error_code ec;
  for (const std::string& folder : settings_.watchedFolders) {
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind(".~lock.", 0) != 0 || name.back() != '#') continue;
      const std::string document =
          (entry.path().parent_path() / name.substr(7, name.size() - 8)).string();
      if (std::filesystem::exists(document, ec)) return document;
    }
  }
  return "";
}

std::shared_ptr<harvestor::ISpreadsheetApplication> CalcAutomation::CreateApplication() {
  const std::string program = programPath();
  if (program.empty())
    fail(429, "LibreOffice Calc is not installed (no " + settings_.program + " found)");
  return std::make_shared<CalcApplication>(program, "");
}

std::shared_ptr<harvestor::ISpreadsheetApplication> CalcAutomation::RunningApplication() {
  const std::string active = openWorkbook();
  if (active.empty()) fail(429, "LibreOffice Calc is not running with a workbook open");
  return std::make_shared<CalcApplication>(programPath(), active);
}

}  // namespace workstation
