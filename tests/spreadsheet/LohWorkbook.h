#pragma once
// The LOH workbook the build makes, opened as a user's Calc opens it: copied
// into a fresh tree (ReportTemplates/LOH.xls beside Export), its folder trusted
// by the workstation's own setup script in a profile of the run's own, and
// loaded by open_workbook.py in a headless LibreOffice that answers No.

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace workstation::testing {

struct SheetCell {
  std::string kind;  // "number", "text", "formula" or "empty"
  std::string text;  // as Calc shows it
};

// What one run printed: each dump's cells by name ("loaded" first), rows and columns from 0.
struct WorkbookCells {
  SheetCell At(const std::string& name, const std::string& sheet, int row, int column) const;
  std::string Text(const std::string& name, const std::string& sheet, int row, int column) const {
    return At(name, sheet, row, column).text;
  }
  int LastRow(const std::string& name, const std::string& sheet) const;  // -1 when empty
  void Read(const std::string& output);

  int exitStatus = -1;
  std::string errors;
  std::vector<std::string> questions;  // the interactions Calc asked for
  std::map<std::tuple<std::string, std::string, int, int>, SheetCell> cells;
};

class LohWorkbook {
 public:
  // Why the workbook cannot be opened on this machine, or empty when it can.
  static std::string Unavailable();
  explicit LohWorkbook(std::string root);

  std::string InputPath() const { return root_ + "/Export/InputLOH.temp"; }
  std::string WorkbookPath() const { return root_ + "/ReportTemplates/LOH.xls"; }
  // Writes the input file as the LOH launch does: the header, then lines.
  void WriteInput(const std::vector<std::string>& lines) const;
  // Opens the workbook and runs open_workbook.py's steps, as ("--set", "SHEET.CELL=VALUE").
  WorkbookCells Open(const std::vector<std::pair<std::string, std::string>>& steps = {});

 private:
  std::string root_;
  int runs_ = 0;
};

}  // namespace workstation::testing
