#include "tests/desktop/DesktopFixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSettings>
#include <QStandardPaths>
#include <QTimer>

#include "tests/console/Process.h"

namespace workstation::desktop::testing {

DesktopFixture::DesktopFixture() {
  QStandardPaths::setTestModeEnabled(true);
  // Each fixture's settings (geometry, recent databases) live in its own
  // folder, so tests running side by side never see each other's.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString(tree.Path("settings")));
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                     QString::fromStdString(tree.Path("settings")));
  host = std::make_unique<DesktopHost>();
  window = std::make_unique<MainWindow>(*host);
  database = tree.Path("study.db");
}

bool DesktopFixture::importSmallStudy(const std::string& path, const std::string& name) {
  return workstation::testing::ImportSmallStudy(path, name).exitStatus == 0;
}

bool DesktopFixture::openSmallStudy() {
  return importSmallStudy(database) && window->openDatabase(QString::fromStdString(database));
}

int DesktopFixture::runConsole(const std::vector<std::string>& args) {
  return workstation::testing::RunHarvestor(args, tree.root + "/App/bin").exitStatus;
}

void whenModal(const std::function<void(QWidget*)>& act, const char* className) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(10);
  QObject::connect(timer, &QTimer::timeout, timer, [timer, act, className] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible() || (className && !modal->inherits(className))) return;
    timer->stop();
    timer->deleteLater();
    act(modal);
  });
  timer->start();
}

void answerMessageBox(const QString& buttonText, QString* shownText) {
  whenModal(
      [buttonText, shownText](QWidget* modal) {
        auto* box = static_cast<QMessageBox*>(modal);
        if (shownText) *shownText = box->text();
        for (QAbstractButton* button : box->buttons()) {
          if (button->text() == buttonText) {
            button->click();
            return;
          }
        }
        box->reject();
      },
      "QMessageBox");
}

void chooseInFileDialog(const QString& path, int filterIndex,
                        const std::function<void()>& accepted) {
  whenModal(
      [path, filterIndex, accepted](QWidget* modal) {
        auto* dialog = static_cast<QFileDialog*>(modal);
        const QStringList filters = dialog->nameFilters();
        if (filterIndex >= 1 && filterIndex <= filters.size())
          dialog->selectNameFilter(filters[filterIndex - 1]);
        dialog->selectFile(path);
        // Typed as a user does, so a name the dialog fills in later cannot replace it.
        if (auto* typed = dialog->findChild<QLineEdit*>("fileNameEdit")) typed->setText(path);
        static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as its Save button does
        if (accepted) accepted();
      },
      "QFileDialog");
}

}  // namespace workstation::desktop::testing
