// The export pages driven by clicks: the result export wizard writing what the
// console writes and refusing a selection larger than one run, Cancel or
// closing the main window during a run, and the study's CSV through the
// fragment grid, whose model sorts every fragment, or the reason it was not written.
#include <QCheckBox>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "harvestor/resultexport/ExportResultsOptionsPage.h"
#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "harvestor/service/ErrorLog.h"
#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"
#include "workstation/desktop/FragmentGridModel.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;
using harvestor::testing::ReadFile;

namespace {

bool logHas(const std::string& prefix) {
  const auto* lines = harvestor::ErrorLog::Lines();
  for (std::size_t i = 0; lines && i < lines->Count(); ++i)
    if (lines->Line(i).starts_with(prefix)) return true;
  return false;
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

std::shared_ptr<DesktopWindow> openWizard(DesktopFixture& f, QListWidget*& list) {
  f.window->commandAction("ExportResult")->trigger();
  auto wizard = f.host->windows().lastWindow("ExportResultSelection");
  list = wizard ? wizard->dialog()->findChild<QListWidget*>("ctlSelectionWizard") : nullptr;
  return list ? wizard : nullptr;
}

// Ctrl-clicks the rows, Next, Save As with the template, ticks the boxes; Finish is the caller's.
std::shared_ptr<DesktopWindow> prepareWizard(DesktopFixture& f, const std::vector<int>& rows,
                                             const std::string& output,
                                             const std::vector<const char*>& ticks = {}) {
  QListWidget* list = nullptr;
  auto wizard = openWizard(f, list);
  if (!wizard) return nullptr;
  for (int row : rows)
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(row)).center());
  QTest::mouseClick(wizard->nextButton(), Qt::LeftButton);
  if (wizard->currentPage() != 1) return nullptr;
  auto& options = dynamic_cast<harvestor::ExportResultsOptionsPage&>(*wizard->pages()[1]);
  chooseInFileDialog(QString::fromStdString(output), 1);
  QTest::mouseClick(wizard->widgetOf(options.cmdBrowse), Qt::LeftButton);
  for (const char* name : ticks)
    if (auto* box = wizard->dialog()->findChild<QCheckBox*>(name)) box->click();
  return wizard;
}

std::shared_ptr<harvestor::ExportResultsStatusPage> statusPage(DesktopFixture& f) {
  return std::dynamic_pointer_cast<harvestor::ExportResultsStatusPage>(
      f.host->windows().lastPage("ExportResultsStatus"));
}

}  // namespace

class ExportPagesTest : public QObject {
  Q_OBJECT
 private slots:
  void theWizardWritesWhatTheConsoleWrites() {
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    const std::string desktop = f.tree.Path("Desktop"), console = f.tree.Path("Console");
    std::filesystem::create_directories(desktop);
    std::filesystem::create_directories(console);
    auto wizard =
        prepareWizard(f, {0, 2}, desktop + "/{Result Name}", {"chkHeader", "chkResultData"});
    QVERIFY(wizard);
    QTest::mouseClick(wizard->finishButton(), Qt::LeftButton);
    QVERIFY(!wizard->isOpen());
    QVERIFY(logHas("Export completed. No errors."));

    const auto results = f.host->studies().CurrentStudy()->Results();
    QCOMPARE(f.runConsole({"export-results", f.database, "--format", "text", "--output",
                           console + "/{Result Name}", "--result",
                           results->Item(0)->Result()->ResultName(), "--result",
                           results->Item(2)->Result()->ResultName(), "--header", "--result-data"}),
             0);
    const auto written = filesIn(desktop);
    QCOMPARE(written.size(), std::size_t{2});
    QCOMPARE(written, filesIn(console));
    for (const auto& name : written)
      QCOMPARE(ReadFile(desktop + "/" + name), ReadFile(console + "/" + name));
    auto status = f.host->windows().lastWindow("ExportResultsStatus");
    QTest::mouseClick(status->widgetOf(statusPage(f)->cmdOK), Qt::LeftButton);
    QVERIFY(!status->isOpen());
  }

  void aSelectionLargerThanOneRunIsRefused() {
    DesktopFixture f;
    const std::string fragments = f.tree.Path("fragments.tsv");
    {
      std::ofstream table(fragments);
      table << "Result Name\tSubject ID\tLocus\tAllele ID\n";
      for (int i = 0; i < 32767; ++i) table << "R" << i << "\tS" << i << "\tD1\t10\n";
    }
    QCOMPARE(f.runConsole({"import", f.database, "--name", "Large", "--fragments", fragments}), 0);
    QVERIFY(f.window->openDatabase(QString::fromStdString(f.database)));
    QListWidget* list = nullptr;
    auto wizard = openWizard(f, list);
    QVERIFY(wizard);
    list->selectAll();
    QString shown;
    answerMessageBox("OK", &shown);
    QTest::mouseClick(wizard->nextButton(), Qt::LeftButton);
    QVERIFY2(shown.contains("32767 results are selected. One export takes at most 32766"),
             qPrintable(shown));
    QCOMPARE(wizard->currentPage(), std::size_t{0});
    list->item(0)->setSelected(false);  // one fewer fits one run
    QTest::mouseClick(wizard->nextButton(), Qt::LeftButton);
    QCOMPARE(wizard->currentPage(), std::size_t{1});
    QTest::mouseClick(wizard->cancelButton(), Qt::LeftButton);
    QVERIFY(!wizard->isOpen() && wizard->WasCancelled());
    QVERIFY(!f.host->windows().lastWindow("ExportResultsStatus"));
  }

  void cancelOrClosingTheMainWindowStopsTheRun_data() {
    QTest::addColumn<bool>("closeWindow");
    QTest::newRow("Cancel clicked") << false;
    QTest::newRow("main window closed") << true;
  }

  void cancelOrClosingTheMainWindowStopsTheRun() {
    QFETCH(bool, closeWindow);
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    const std::string out = f.tree.Path("Out");
    std::filesystem::create_directories(out);
    auto wizard = prepareWizard(f, {0, 1, 2, 3, 4, 5}, out + "/{Result Name}");
    QVERIFY(wizard);
    // The user's stop, taken when the run first yields.
    bool stopped = false;
    QTimer::singleShot(0, [&] {
      auto window = f.host->windows().lastWindow("ExportResultsStatus");
      if (!window || !statusPage(f)) return;
      if (closeWindow)
        f.window->close();
      else
        QTest::mouseClick(window->widgetOf(statusPage(f)->cmdCancel), Qt::LeftButton);
      stopped = true;
    });
    QTest::mouseClick(wizard->finishButton(), Qt::LeftButton);
    QVERIFY(stopped);
    QVERIFY(logHas("Export cancelled.") && !logHas("Export completed."));
    QVERIFY(filesIn(out).size() < 6);
    auto status = f.host->windows().lastWindow("ExportResultsStatus");
    QVERIFY(closeWindow ? !status->isOpen()
                        : !status->widgetOf(statusPage(f)->cmdCancel)->isEnabled());
  }

  void aCsvThatCannotBeWrittenSaysWhy() {
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    // The name is taken by a folder once the file dialog has accepted it.
    const std::string csv = f.tree.Path("Taken.csv");
    chooseInFileDialog(QString::fromStdString(csv), 1,
                       [&] { std::filesystem::create_directory(csv); });
    QString shown;
    answerMessageBox("OK", &shown);
    f.window->commandAction("ExportStudy")->trigger();
    QVERIFY2(shown.startsWith("The CSV file was not written: ") &&
                 shown.contains(QString::fromStdString(csv)),
             qPrintable(shown));
    QVERIFY(logHas("Export failed. Check file open or disk full."));
    QVERIFY(std::filesystem::is_directory(csv));
  }

  void theStudyCsvGoesThroughTheGridWhoseModelSortsEveryFragment() {
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    const std::string desktop = f.tree.Path("Desktop.csv"), console = f.tree.Path("Console.csv");
    chooseInFileDialog(QString::fromStdString(desktop), 1);
    f.window->commandAction("ExportStudy")->trigger();
    auto grid = f.host->windows().lastWindow("FragmentGrid");
    QVERIFY(grid && grid->dialog()->findChild<QTableView*>("FragmentGridView"));
    QCOMPARE(f.runConsole({"export-study", f.database, "--format", "csv", "--output", console}), 0);
    QCOMPARE(ReadFile(desktop), ReadFile(console));

    const auto study = f.host->studies().CurrentStudy();
    FragmentGridModel model(study);
    const auto results = study->Results();
    int fragments = 0;
    for (std::int32_t i = 0; i < results->Count(); ++i)
      fragments += results->Item(i)->Fragments()->Count();
    QCOMPARE(model.rowCount(), fragments);
    QCOMPARE(model.headerData(5, Qt::Horizontal).toString(), QString("Fragment Size"));
    // Size and height sort as numbers, the locus as text whatever its case.
    for (const auto& [column, order] :
         {std::pair{5, Qt::AscendingOrder}, {6, Qt::DescendingOrder}, {3, Qt::AscendingOrder}}) {
      model.sort(column, order);
      for (int row = 1; row < model.rowCount(); ++row) {
        const QVariant a = model.index(row - 1, column).data(), b = model.index(row, column).data();
        const int compared = a.typeId() == QMetaType::QString
                                 ? a.toString().compare(b.toString(), Qt::CaseInsensitive)
                                 : (a.toDouble() > b.toDouble()) - (a.toDouble() < b.toDouble());
        QVERIFY2(order == Qt::AscendingOrder ? compared <= 0 : compared >= 0,
                 qPrintable(QString("column %1 row %2").arg(column).arg(row)));
      }
    }
  }
};

QTEST_MAIN(ExportPagesTest)
#include "ExportPagesTest.moc"
