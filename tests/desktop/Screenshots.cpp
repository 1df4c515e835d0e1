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
#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;

namespace {

QString folder;
int written = 0;

void save(QWidget* widget, const char* name, QSize size = {}) {
  if (!widget) {
    std::cerr << "screenshots: no window for " << name << "\n";
    return;
  }
  if (size.isValid()) widget->resize(size);
  QApplication::processEvents();
  const QString path = folder + "/" + name + ".png";
  if (!widget->grab().save(path)) return;
  ++written;
  std::cout << path.toStdString() << "\n";
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  if (argc != 3) {
    std::cerr << "usage: desktop_screenshots STUDY.db OUTDIR\n";
    return 2;
  }
  QApplication::setApplicationName("harvestor-desktop-screenshots");
  folder = QString::fromLocal8Bit(argv[2]);
  QDir().mkpath(folder);
  DesktopFixture f;
  f.window->resize(1000, 640);
  f.window->show();
  if (!f.window->openDatabase(QString::fromLocal8Bit(argv[1])) || f.host->studyNames().empty())
    return 1;
  auto dialogOf = [&](const char* page) {
    auto window = f.host->windows().lastWindow(page);
    return window ? window->dialog() : nullptr;
  };
  auto saveAndClose = [&](const char* page, const char* name, QSize size) {
    save(dialogOf(page), name, size);
    if (auto window = f.host->windows().lastWindow(page)) window->Close();
  };

  // The open-study page, offered by Export Study while no study is open.
  f.window->closeStudy();
  whenModal([&](QWidget* modal) {
    save(modal, "open-study", {420, 300});
    modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
    whenModal([](QWidget* dialog) { static_cast<QDialog*>(dialog)->reject(); }, "QFileDialog");
  });
  f.host->service().ExportStudy();
  save(f.window.get(), "main-window");

  // The result export wizard's two pages, then the status page after the run.
  const std::string results = f.tree.Path("Results");
  std::filesystem::create_directories(results);
  f.window->commandAction("ExportResult")->trigger();
  auto wizard = f.host->windows().lastWindow("ExportResultSelection");
  auto* list = wizard->dialog()->findChild<QListWidget*>("ctlSelectionWizard");
  for (int row = 0; row < std::min(4, list->count()); ++row) list->item(row)->setSelected(true);
  save(wizard->dialog(), "wizard-selection", {560, 420});
  wizard->next();
  chooseInFileDialog(QString::fromStdString(results + "/{Result Name}"), 1);
  dynamic_cast<harvestor::ExportResultsOptionsPage&>(*wizard->pages()[1]).cmdBrowse.Click();
  save(wizard->dialog(), "wizard-options");
  wizard->finish();
  saveAndClose("ExportResultsStatus", "result-export-status", {640, 460});

  // The study export: mid-run at the locus-list question, the question, and after.
  std::filesystem::remove(f.tree.exportFolder + "/LocusList.txt");
  chooseInFileDialog(QString::fromStdString(f.tree.Path("Demo.pre")), 2);
  QTimer::singleShot(0, [&] {
    whenModal(
        [&](QWidget* modal) {
          save(dialogOf("ExportStudyStatus"), "study-export-status-running", {640, 460});
          save(modal, "locus-list-question");
          static_cast<QMessageBox*>(modal)->button(QMessageBox::Yes)->click();
        },
        "QMessageBox");
  });
  f.window->commandAction("ExportStudy")->trigger();
  saveAndClose("ExportStudyStatus", "study-export-status-done", {640, 460});

  // The locus list editor, with the list made of the study's first loci.
  f.window->commandAction("LocusListEdit")->trigger();
  if (QWidget* editor = dialogOf("ShowLocusListEditPage")) {
    if (auto* possible = editor->findChild<QListWidget*>("lstPossible")) {
      for (int row = 0; row < std::min(3, possible->count()); ++row)
        possible->item(row)->setSelected(true);
      editor->findChild<QPushButton*>("btnToList")->click();
    }
    save(editor, "locus-list-editor", {820, 420});
    f.host->windows().lastWindow("ShowLocusListEditPage")->cancel();
  }

  // The fragment grid, sorted by peak height.
  f.host->windows().ShowPage("FragmentGrid", std::any(f.host->studies().CurrentStudy()), nullptr,
                             0);
  if (QWidget* grid = dialogOf("FragmentGrid"))
    if (auto* view = grid->findChild<QTableView*>("FragmentGridView"))
      view->sortByColumn(6, Qt::DescendingOrder);
  saveAndClose("FragmentGrid", "fragment-grid", {900, 420});

  // An error report: the locus list cannot be read, as a folder stands in its place.
  std::filesystem::remove(f.tree.exportFolder + "/LocusList.txt");
  std::filesystem::create_directories(f.tree.exportFolder + "/LocusList.txt");
  f.window->commandAction("LocusListEdit")->trigger();
  save(f.host->utility().lastDialog(), "error-dialog", {460, 220});
  return written == 11 ? 0 : 1;
}
