#pragma once
// The desktop workstation: every host service the component needs, bound to
// Qt widgets, installed as the component's host objects for the host's
// lifetime. It registers the same pages under the same names as the console
// and attaches the Service the same way; it also keeps the open database.

#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Service.h"
#include "workstation/console/ConsoleServices.h"
#include "workstation/desktop/DesktopLibraries.h"
#include "workstation/desktop/DesktopServices.h"
#include "workstation/desktop/DesktopUi.h"
#include "workstation/desktop/DesktopWindows.h"

class QWidget;

namespace workstation::desktop {

class DesktopHost final : public harvestor::IHostApplication {
 public:
  explicit DesktopHost(harvestor::ISpreadsheetAutomation* spreadsheet = nullptr);
  ~DesktopHost() override;
  DesktopHost(const DesktopHost&) = delete;
  DesktopHost& operator=(const DesktopHost&) = delete;

  harvestor::IWindowManager& WindowManager() override { return windows_; }
  std::shared_ptr<harvestor::IProgressBar> ProgressBar() override { return progress_; }

  // The window that dialogs and pages belong to.
  void setOwner(QWidget* owner);
  // Creates the service, fills its commands and raises its Initialize.
  harvestor::Service& service();
  // Whether a host command is enabled now (as the service keeps them).
  bool commandEnabled(const std::string& name);

  // Opens a study database and answers its studies; throws StoreError.
  std::vector<std::string> openDatabase(const std::string& path);
  const std::string& database() const { return database_; }
  const std::vector<std::string>& studyNames() const { return studyNames_; }
  // Loads a study of the open database and opens it (closing the one open).
  std::shared_ptr<harvestor::IStudy> openStudy(const std::string& study);
  void closeStudy();

  DesktopWindowManager& windows() { return windows_; }
  console::ConsoleStudyService& studies() { return studies_; }
  DesktopUi& ui() { return ui_; }
  DesktopUtility& utility() { return utility_; }
  DesktopProgress& progress() { return *progress_; }

 private:
  void registerPages();
  DesktopWindowManager windows_;
  std::shared_ptr<DesktopProgress> progress_;
  console::ConsoleStudyService studies_;
  DesktopUtility utility_;
  console::KeepEveryFragment filter_;
  DesktopUi ui_;
  DesktopLibraries libraries_;
  std::unique_ptr<harvestor::Service> service_;
  std::string database_;
  std::vector<std::string> studyNames_;
};

}  // namespace workstation::desktop
