#include "tests/spreadsheet/LohWorkbook.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "tests/fakes/TestHost.h"

namespace workstation::testing {
namespace {

std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

int run(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<std::string> split(const std::string& line, char separator) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= line.size(); ++i) {
    if (i == line.size() || line[i] == separator) {
      parts.push_back(line.substr(start, i - start));
      start = i + 1;
    }
  }
  return parts;
}

std::string unescaped(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char next = s[++i];
    out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
  }
  return out;
}

const std::string kDriver =
    std::string(HARVESTOR_SOURCE_DIR) + "/tests/spreadsheet/open_workbook.py";

}  // namespace

SheetCell WorkbookCells::At(const std::string& name, const std::string& sheet, int row,
                            int column) const {
  const auto found = cells_.find({name, sheet, row, column});
  return found == cells_.end() ? SheetCell{"empty", ""} : found->second;
}

int WorkbookCells::LastRow(const std::string& name, const std::string& sheet) const {
  int last = -1;
  for (const auto& [key, cell] : cells_) {
    if (std::get<0>(key) == name && std::get<1>(key) == sheet)
      last = std::max(last, std::get<2>(key));
  }
  return last;
}

int WorkbookCells::FindRow(const std::string& name, const std::string& sheet,
                           const std::vector<std::string>& keys, int from) const {
  for (int row = from; row <= LastRow(name, sheet); ++row) {
    bool all = true;
    for (std::size_t c = 0; c < keys.size() && all; ++c)
      all = Text(name, sheet, row, static_cast<int>(c)) == keys[c];
    if (all) return row;
  }
  return -1;
}

void WorkbookCells::Add(const std::string& name, const std::string& sheet, int row, int column,
                        SheetCell cell) {
  cells_[{name, sheet, row, column}] = std::move(cell);
}

std::vector<std::string> WorkbookCells::Fact(const std::string& kind, const std::string& name,
                                             const std::string& key) const {
  const auto found = facts_.find({kind, name, key});
  return found == facts_.end() ? std::vector<std::string>{} : found->second;
}

void WorkbookCells::AddFact(std::vector<std::string> fields) {
  if (fields.size() < 3) return;
  facts_[{fields[0], fields[1], fields[2]}] = {fields.begin() + 3, fields.end()};
}

std::string LohWorkbook::Unavailable() {
  const std::string out =
      std::filesystem::temp_directory_path() / ("loh-check-" + std::to_string(::getpid()) + ".txt");
  const int status =
      run(quoted(HARVESTOR_UNO_PYTHON) + " " + quoted(kDriver) + " --check >" + out + " 2>&1");
  std::string why = harvestor::testing::ReadFile(out);
  std::filesystem::remove(out);
  if (status == 0) return "";
  return why.empty() ? "LibreOffice or its Python bridge is not installed" : why;
}

LohWorkbook::LohWorkbook(std::string root) : root_(std::move(root)) {
  std::filesystem::create_directories(root_ + "/ReportTemplates");
  std::filesystem::create_directories(root_ + "/Export");
  std::filesystem::copy_file(std::string(HARVESTOR_BUILD_DIR) + "/ReportTemplates/LOH.xls",
                             WorkbookPath());
}

void LohWorkbook::WriteInput(const std::vector<std::string>& lines) const {
  std::vector<std::string> all{
      "Result Name,Dye,Fragment Size,Peak Height,Locus,Allele ID,Comment,Peak Area"};
  all.insert(all.end(), lines.begin(), lines.end());
  harvestor::testing::WriteFile(InputPath(), harvestor::testing::CrLf(all));
}

WorkbookCells LohWorkbook::Open(const std::vector<std::pair<std::string, std::string>>& steps) {
  WorkbookCells cells;
  const std::string profile = root_ + "/profile-" + std::to_string(++runs_);
  const std::string out = profile + ".out";
  const std::string err = profile + ".err";
  const std::string trust = std::string(HARVESTOR_SOURCE_DIR) + "/scripts/trust-loh-templates.py";
  if (run(quoted(HARVESTOR_UNO_PYTHON) + " " + quoted(trust) + " " +
          quoted(root_ + "/ReportTemplates") + " --profile " + quoted(profile) + " >" +
          quoted(err) + " 2>&1") != 0) {
    cells.errors = harvestor::testing::ReadFile(err);
    return cells;
  }
  std::string command = quoted(HARVESTOR_UNO_PYTHON) + " " + quoted(kDriver) + " " +
                        quoted(profile) + " " + quoted(WorkbookPath());
  for (const auto& [kind, argument] : steps) command += " " + kind + " " + quoted(argument);
  cells.exitStatus = run(command + " >" + quoted(out) + " 2>" + quoted(err));
  cells.errors = harvestor::testing::ReadFile(err);
  std::istringstream lines(harvestor::testing::ReadFile(out));
  for (std::string line; std::getline(lines, line);) {
    const auto parts = split(line, '\t');
    if (parts.size() == 2 && parts[0] == "question") cells.questions.push_back(parts[1]);
    if (parts[0] == "chart" || parts[0] == "list") {
      cells.AddFact(parts);
      continue;
    }
    if (parts.size() != 6) continue;
    cells.Add(parts[0], parts[1], std::stoi(parts[2]), std::stoi(parts[3]),
              {parts[4], unescaped(parts[5])});
  }
  return cells;
}

}  // namespace workstation::testing
