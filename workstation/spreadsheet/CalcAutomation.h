#pragma once
// The spreadsheet application behind the LOH launch: LibreOffice Calc.
// A new instance can be had when the Calc program can be started on this
// machine. The running instance's active workbook is a workbook in one of
// the watched folders that Calc holds open: LibreOffice's lock file beside
// it, with a live Calc process. Opening a workbook starts Calc on it,
// detached, so it stays open after the command ends; without a display Calc
// cannot show a window, and opening says so instead.

#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/Spreadsheet.h"

namespace workstation {

class CalcAutomation final : public harvestor::ISpreadsheetAutomation {
 public:
  struct Settings {
    std::string program = "soffice";          // a name looked up on PATH, or a path
    std::vector<std::string> watchedFolders;  // where an open workbook is looked for
  };
  explicit CalcAutomation(Settings settings) : settings_(std::move(settings)) {}

  std::shared_ptr<harvestor::ISpreadsheetApplication> CreateApplication() override;
  std::shared_ptr<harvestor::ISpreadsheetApplication> RunningApplication() override;

  // The program's full path, or empty when it cannot be found.
  std::string programPath() const;
  // The workbook in the watched folders that a live Calc holds open, or empty.
  std::string openWorkbook() const;

 private:
  Settings settings_;
};

// LibreOffice's lock file for a document: .~lock.NAME# beside it.
std::string calcLockFile(const std::string& document);
// True when a Calc (soffice.bin) process runs on this machine.
bool calcIsRunning();
// True when a graphical display is available to start a window on.
bool displayAvailable();

}  // namespace workstation
