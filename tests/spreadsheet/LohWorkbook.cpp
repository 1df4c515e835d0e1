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

using harvestor::testing::ReadFile;

std::string quoted(const std::string& s) {
  std::string out = "'";
  for (char c : s) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs the UNO Python, its output to out and its errors to err (which may be out).
int runPython(const std::vector<std::string>& arguments, const std::string& out,
              const std::string& err) {
  std::string command = quoted(HARVESTOR_UNO_PYTHON);
  for (const auto& argument : arguments) command += " " + quoted(argument);
  command += " >" + quoted(out) + (err == out ? " 2>&1" : " 2>" + quoted(err));
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string kSource = HARVESTOR_SOURCE_DIR;
const std::string kDriver = kSource + "/tests/spreadsheet/open_workbook.py";

}  // namespace

SheetCell WorkbookCells::At(const std::string& name, const std::string& sheet, int row,
                            int column) const {
  const auto found = cells.find({name, sheet, row, column});
  return found == cells.end() ? SheetCell{"empty", ""} : found->second;
}

int WorkbookCells::LastRow(const std::string& name, const std::string& sheet) const {
  int last = -1;
  for (const auto& [key, cell] : cells)
    if (std::get<0>(key) == name && std::get<1>(key) == sheet)
      last = std::max(last, std::get<2>(key));
  return last;
}

void WorkbookCells::Read(const std::string& output) {
  std::istringstream lines(output);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> parts;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) parts.push_back(field);
    if (line.ends_with('\t')) parts.emplace_back();
    if (parts.size() == 2 && parts[0] == "question") questions.push_back(parts[1]);
    if (parts.size() != 6) continue;
    std::string text;  // the dump escapes a tab, a newline and a backslash
    for (std::size_t i = 0; i < parts[5].size(); ++i) {
      char c = parts[5][i];
      if (c == '\\' && i + 1 < parts[5].size()) {
        c = parts[5][++i];
        c = c == 't' ? '\t' : c == 'n' ? '\n' : c;
      }
      text += c;
    }
    cells[{parts[0], parts[1], std::stoi(parts[2]), std::stoi(parts[3])}] = {parts[4], text};
  }
}

std::string LohWorkbook::Unavailable() {
  const std::string out =
      std::filesystem::temp_directory_path() / ("loh-check-" + std::to_string(::getpid()) + ".txt");
  const int status = runPython({kDriver, "--check"}, out, out);
  const std::string why = ReadFile(out);
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
  const std::string out = profile + ".out", err = profile + ".err";
  std::vector<std::string> arguments{kDriver, profile, WorkbookPath()};
  for (const auto& [kind, argument] : steps) arguments.insert(arguments.end(), {kind, argument});
  if (runPython({kSource + "/scripts/trust-loh-templates.py", root_ + "/ReportTemplates",
                 "--profile", profile},
                err, err) == 0) {
    cells.exitStatus = runPython(arguments, out, err);
    cells.Read(ReadFile(out));
  }
  cells.errors = ReadFile(err);
  return cells;
}

}  // namespace workstation::testing
