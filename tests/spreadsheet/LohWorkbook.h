#pragma once
// The LOH workbook the build makes, opened as a user's Calc opens it: copied
// into a fresh workstation tree (ReportTemplates/LOH.xls beside Export), its
// folder trusted by the workstation's own setup script in a LibreOffice
// profile of the run's own, and loaded by a headless LibreOffice through its
// Python bridge with any question that needs confirmation answered No.

#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace workstation::testing {

struct SheetCell {
  std::string kind;  // "number", "text" or "formula"
  std::string text;  // as Calc shows it
};

class WorkbookCells {
 public:
  // The cell at (row, column), counted from 0, as dumped under name; an
  // empty cell when it has nothing.
  SheetCell At(const std::string& name, const std::string& sheet, int row, int column) const;
  std::string Text(const std::string& name, const std::string& sheet, int row, int column) const {
    return At(name, sheet, row, column).text;
  }
  // The number of the last row with anything in it, -1 for an empty sheet.
  int LastRow(const std::string& name, const std::string& sheet) const;
  // The row whose first columns hold keys, from the given row on, or -1.
  int FindRow(const std::string& name, const std::string& sheet,
              const std::vector<std::string>& keys, int from = 0) const;

  // What the run printed of kind ("chart" or "list") under name for key (the
  // chart's sheet, the drop-down's cell): the fields that follow, or none.
  std::vector<std::string> Fact(const std::string& kind, const std::string& name,
                                const std::string& key) const;

  int exitStatus = -1;
  std::string errors;                  // what the run printed on standard error
  std::vector<std::string> questions;  // the interactions Calc asked for

  void Add(const std::string& name, const std::string& sheet, int row, int column, SheetCell cell);
  void AddFact(std::vector<std::string> fields);

 private:
  std::map<std::tuple<std::string, std::string, int, int>, SheetCell> cells_;
  std::map<std::tuple<std::string, std::string, std::string>, std::vector<std::string>> facts_;
};

class LohWorkbook {
 public:
  // Why the workbook cannot be opened on this machine, or empty when it can.
  static std::string Unavailable();

  // Lays out root/ReportTemplates/LOH.xls (a copy of the build's) and
  // root/Export.
  explicit LohWorkbook(std::string root);

  std::string InputPath() const { return root_ + "/Export/InputLOH.temp"; }
  std::string WorkbookPath() const { return root_ + "/ReportTemplates/LOH.xls"; }
  // Writes the input file as the LOH launch does: the header, then lines.
  void WriteInput(const std::vector<std::string>& lines) const;

  // Opens the workbook in a LibreOffice profile of its own that trusts
  // root/ReportTemplates, then runs the steps ("--set", "SHEET.CELL=VALUE"),
  // ("--dump", NAME) or ("--save", "-") in order.
  WorkbookCells Open(const std::vector<std::pair<std::string, std::string>>& steps = {});

 private:
  std::string root_;
  int runs_ = 0;
};

}  // namespace workstation::testing
