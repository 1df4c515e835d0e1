#pragma once
// What the desktop tests share: the real desktop host and main window over a
// fresh component tree, the small study the real command imports, and helpers
// answering modal dialogs as a user would.

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

  bool importSmallStudy(const std::string& path, const std::string& name = "Small");
  bool openSmallStudy();  // imported into database and opened in the window
  int runConsole(const std::vector<std::string>& args);

  harvestor::testing::TestHost tree;  // destroyed last, after the window and the host
  std::unique_ptr<DesktopHost> host;
  std::unique_ptr<MainWindow> window;
  std::string database;
};

// Calls act with the next modal dialog of that class once shown; polled from
// the event loop, as the dialog blocks its caller.
void whenModal(const std::function<void(QWidget*)>& act, const char* className = nullptr);
// Presses the message box's button with that text ("&Yes", "OK"), else rejects it.
void answerMessageBox(const QString& buttonText, QString* shownText = nullptr);
// Picks a file name and filter (from 1) in the common dialog and accepts it,
// then runs `accepted` before the dialog's caller goes on.
void chooseInFileDialog(const QString& path, int filterIndex,
                        const std::function<void()>& accepted = {});

}  // namespace workstation::desktop::testing
