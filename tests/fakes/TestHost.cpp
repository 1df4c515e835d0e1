#include "tests/fakes/TestHost.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor::testing {

TestHost::TestHost() {
  std::string pattern = (std::filesystem::temp_directory_path() / "harvestor-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  root = pattern;
  exportFolder = root + "/App/Export";
  std::filesystem::create_directories(root + "/App/bin");
  std::filesystem::create_directories(exportFolder);
  HostObjects::Install({&application, &studies, &utility, &filter, &ui, &spreadsheet, &libraries});
  HostObjects::SetEnvironment(
      {std::make_shared<FixedClock>(LocalDateTime{2026, 12, 5, 14, 3, 9}), root + "/App/bin", "."});
  ErrorLog::InitalizeExportLog();
}

TestHost::~TestHost() {
  HostObjects::Install({});
  HostObjects::SetEnvironment({});
  std::error_code ec;
  std::filesystem::remove_all(root, ec);
}

void TestHost::WriteLocusList(const std::string& bytes) const {
  WriteFile(exportFolder + "/LocusList.txt", bytes);
}

std::vector<std::string> TestHost::Log() const {
  const auto* lines = ErrorLog::Lines();
  return lines ? std::vector<std::string>(lines->begin(), lines->end())
               : std::vector<std::string>();
}

long TestHost::Logged(const std::string& line) const {
  const auto log = Log();
  return std::count(log.begin(), log.end(), line);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

std::string CrLf(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += line + "\r\n";
  return out;
}

}  // namespace harvestor::testing
