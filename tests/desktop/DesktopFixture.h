#pragma once
// What the desktop tests share: a fresh component tree (TestHost) with the
// real desktop host and main window over it, the small study imported by the
// real harvestor command, and helpers that answer modal dialogs as a user would.

#include <QDialog>
#include <QString>
#include <functional>
#include <memory>
#include <string>

#include "tests/fakes/TestHost.h"
#include "workstation/desktop/DesktopHost.h"
#include "workstation/desktop/MainWindow.h"

namespace workstation::desktop::testing {

class DesktopFixture {
 public:
  DesktopFixture();

  // Imports the small study (name "Small") into path; true when it worked.
  bool importSmallStudy(const std::string& path, const std::string& name = "Small");
  // Imports the small study into database and opens it in the window.
  bool openSmallStudy();
  // Runs the harvestor command with the fixture's component folder.
  int runConsole(const std::vector<std::string>& args);

  harvestor::testing::TestHost tree;  // destroyed last, after the window and the host
  std::unique_ptr<DesktopHost> host;
  std::unique_ptr<MainWindow> window;
  std::string database;
};

// Calls act with the next modal dialog of type T once it is shown (polled
// from the event loop, so it works for dialogs that block the caller).
void whenModal(const std::function<void(QWidget*)>& act, const char* className = nullptr);
// Presses the message box's button with that text ("&Yes", "&No", "OK", ...).
void answerMessageBox(const QString& buttonText, QString* shownText = nullptr);
// Picks a file name and filter in the common dialog and accepts it, then
// runs `accepted` before the caller of the dialog goes on.
void chooseInFileDialog(const QString& path, int filterIndex,
                        const std::function<void()>& accepted = {});

}  // namespace workstation::desktop::testing
