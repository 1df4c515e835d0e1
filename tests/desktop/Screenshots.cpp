// Draws each window of the desktop workstation on a study database and
// writes it as a PNG: desktop_screenshots STUDY.db OUTDIR. It works in a
// fresh component folder, so the user's export folder is left alone.
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <iostream>

#include "harvestor/resultexport/ExportResultsOptionsPage.h"
#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;

namespace {

// The folder the pictures go to, and how many were written there.
struct Pictures {
  explicit Pictures(QString to) : folder(std::move(to)) { QDir().mkpath(folder); }
  void save(QWidget* widget, const char* name) {
    if (!widget) {
      std::cerr << "screenshots: no window for " << name << "\n";
      return;
    }
    QApplication::processEvents();
    const QString path = folder + "/" + name + ".png";
    if (widget->grab().save(path)) {
      ++written;
      std::cout << path.toStdString() << "\n";
    }
  }
  QString folder;
  int written = 0;
};

QWidget* windowOf(DesktopFixture& f, const char* page) {
  auto window = f.host->windows().lastWindow(page);
  return window ? window->dialog() : nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::cerr << "usage: desktop_screenshots STUDY.db OUTDIR\n";
    return 2;
  }
  QApplication::setApplicationName("harvestor-desktop-screenshots");
  Pictures pictures(QString::fromLocal8Bit(argv[2]));
  DesktopFixture f;
  f.window->resize(1000, 640);
  f.window->show();
  const QString database = QString::fromLocal8Bit(argv[1]);
  if (!f.window->openDatabase(database)) return 1;
  const auto names = f.host->studyNames();
  if (names.empty()) return 1;

  // The open-study page, offered by Export Study while no study is open.
  f.window->closeStudy();
  whenModal([&](QWidget* modal) {
    modal->resize(420, 300);
    pictures.save(modal, "open-study");
    modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
    whenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); }, "QFileDialog");
  });
  f.host->service().ExportStudy();
  pictures.save(f.window.get(), "main-window");

  // The result export wizard, its two pages, then the status page after the run.
  const std::string results = f.tree.Path("Results");
  std::filesystem::create_directories(results);
  f.window->commandAction("ExportResult")->trigger();
  auto wizard = f.host->windows().lastWindow("ExportResultSelection");
  wizard->dialog()->resize(560, 420);
  auto* list = wizard->dialog()->findChild<QListWidget*>("ctlSelectionWizard");
  for (int row = 0; row < std::min(4, list->count()); ++row) list->item(row)->setSelected(true);
  pictures.save(wizard->dialog(), "wizard-selection");
  wizard->next();
  auto& options = dynamic_cast<harvestor::ExportResultsOptionsPage&>(*wizard->pages()[1]);
  chooseInFileDialog(QString::fromStdString(results + "/{Result Name}"), 1);
  options.cmdBrowse.Click();
  pictures.save(wizard->dialog(), "wizard-options");
  wizard->finish();
  if (QWidget* status = windowOf(f, "ExportResultsStatus")) {
    status->resize(640, 460);
    pictures.save(status, "result-export-status");
    f.host->windows().lastWindow("ExportResultsStatus")->Close();
  }

  // The study export: mid-run at the locus-list question, the question, and after.
  std::filesystem::remove(f.tree.exportFolder + "/LocusList.txt");
  chooseInFileDialog(QString::fromStdString(f.tree.Path("Demo.pre")), 2);
  QTimer::singleShot(0, [&] {
    whenModal(
        [&](QWidget* modal) {
          if (QWidget* status = windowOf(f, "ExportStudyStatus")) {
            status->resize(640, 460);
            pictures.save(status, "study-export-status-running");
          }
          pictures.save(modal, "locus-list-question");
          static_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
        },
        "QMessageBox");
  });
  f.window->commandAction("ExportStudy")->trigger();
  pictures.save(windowOf(f, "ExportStudyStatus"), "study-export-status-done");
  f.host->windows().lastWindow("ExportStudyStatus")->Close();

  // The locus list editor, with the list made of the study's first loci.
  f.window->commandAction("LocusListEdit")->trigger();
  if (auto editor = f.host->windows().lastWindow("ShowLocusListEditPage")) {
    editor->dialog()->resize(820, 420);
    if (auto* possible = editor->dialog()->findChild<QListWidget*>("lstPossible")) {
      for (int row = 0; row < std::min(3, possible->count()); ++row)
        possible->item(row)->setSelected(true);
      editor->dialog()->findChild<QPushButton*>("btnToList")->click();
    }
    pictures.save(editor->dialog(), "locus-list-editor");
    editor->cancel();
  }

  // The fragment grid, sorted by peak height.
  f.host->windows().ShowPage("FragmentGrid", std::any(f.host->studies().CurrentStudy()), nullptr,
                             0);
  if (QWidget* grid = windowOf(f, "FragmentGrid")) {
    grid->resize(900, 420);
    if (auto* view = grid->findChild<QTableView*>("FragmentGridView"))
      view->sortByColumn(6, Qt::DescendingOrder);
    pictures.save(grid, "fragment-grid");
    f.host->windows().lastWindow("FragmentGrid")->Close();
  }

  // An error report: the locus list cannot be read, as a folder stands in its place.
  std::filesystem::remove(f.tree.exportFolder + "/LocusList.txt");
  std::filesystem::create_directories(f.tree.exportFolder + "/LocusList.txt");
  f.window->commandAction("LocusListEdit")->trigger();
  if (QWidget* error = f.host->utility().lastDialog()) {
    error->resize(460, 220);
    pictures.save(error, "error-dialog");
  }
  return pictures.written == 11 ? 0 : 1;
}
