#pragma once
// The spreadsheet application as the LOH launch drives it through
// automation: start a new instance, reach the running one, open a workbook
// and show it. A failing call throws (HError or a standard exception).

#include <memory>
#include <string>

namespace harvestor {

class ISpreadsheetApplication;

class ISpreadsheetWorkbook {
 public:
  virtual ~ISpreadsheetWorkbook() = default;
  virtual std::string FullName() = 0;
  virtual std::shared_ptr<ISpreadsheetApplication> Application() = 0;
};

class ISpreadsheetApplication {
 public:
  virtual ~ISpreadsheetApplication() = default;
  // The workbook the user is working in; throws when there is none.
  virtual std::shared_ptr<ISpreadsheetWorkbook> ActiveWorkbook() = 0;
  virtual std::shared_ptr<ISpreadsheetWorkbook> OpenWorkbook(const std::string& path) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void Quit() = 0;
};

class ISpreadsheetAutomation {
 public:
  virtual ~ISpreadsheetAutomation() = default;
  // A new instance; throws when the application cannot be started.
  virtual std::shared_ptr<ISpreadsheetApplication> CreateApplication() = 0;
  // The instance already running; throws when none runs.
  virtual std::shared_ptr<ISpreadsheetApplication> RunningApplication() = 0;
};

}  // namespace harvestor
