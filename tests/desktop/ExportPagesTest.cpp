// The export pages driven by clicks as a user drives them: the result export
// wizard writing the same files as the console, Cancel during a result
// export, the study export's locus-list question answered both ways, and the
// fragment grid, whose model reads and sorts every fragment and through
// whose page the study's CSV goes to the same file the console writes.
#include <QCheckBox>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTimer>
#include <QtTest>
#include <filesystem>
#include <fstream>

#include "harvestor/resultexport/ExportResultsOptionsPage.h"
#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/studypages/ExportStudyStatusPage.h"
#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"
#include "workstation/desktop/FragmentGridModel.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;
using harvestor::testing::ReadFile;

namespace {

bool logHas(const std::string& prefix) {
  const auto* lines = harvestor::ErrorLog::Lines();
  if (!lines) return false;
  for (std::string_view line : *lines) {
    if (line.rfind(prefix, 0) == 0) return true;
  }
  return false;
}

std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

void click(QWidget* widget) {
  QVERIFY(widget);
  QVERIFY(widget->isEnabled());
  QTest::mouseClick(widget, Qt::LeftButton);
}

// Drives the wizard: selects the rows, Next, Save As (the template and
// filter), ticks the boxes named, and leaves Finish to the caller.
std::shared_ptr<DesktopWindow> prepareWizard(DesktopFixture& f, const std::vector<int>& rows,
                                             const std::string& output, int filter,
                                             const std::vector<const char*>& ticks) {
  f.window->commandAction("ExportResult")->trigger();
  auto wizard = f.host->windows().lastWindow("ExportResultSelection");
  if (!wizard) return nullptr;
  auto* list = wizard->dialog()->findChild<QListWidget*>("ctlSelectionWizard");
  if (!list) return nullptr;
  for (int row : rows) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->visualItemRect(list->item(row)).center());
  }
  QTest::mouseClick(wizard->nextButton(), Qt::LeftButton);
  if (wizard->currentPage() != 1) return nullptr;
  auto& options = dynamic_cast<harvestor::ExportResultsOptionsPage&>(*wizard->pages()[1]);
  chooseInFileDialog(QString::fromStdString(output), filter);
  QTest::mouseClick(wizard->widgetOf(options.cmdBrowse), Qt::LeftButton);
  for (const char* name : ticks) {
    auto* box = wizard->dialog()->findChild<QCheckBox*>(name);
    if (box) box->click();  // as a click on its label does
  }
  return wizard;
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
        prepareWizard(f, {0, 2}, desktop + "/{Result Name}", 1, {"chkHeader", "chkResultData"});
    QVERIFY(wizard);
    QTest::mouseClick(wizard->finishButton(), Qt::LeftButton);
    QVERIFY(!wizard->isOpen());

    auto status = std::dynamic_pointer_cast<harvestor::ExportResultsStatusPage>(
        f.host->windows().lastPage("ExportResultsStatus"));
    QVERIFY(status);
    QVERIFY(logHas("Export completed. No errors."));
    auto statusWindow = f.host->windows().lastWindow("ExportResultsStatus");
    QVERIFY(statusWindow->widgetOf(status->cmdOK)->isEnabled());
    QVERIFY(!statusWindow->widgetOf(status->cmdCancel)->isEnabled());

    const auto results = f.host->studies().CurrentStudy()->Results();
    const std::string first = results->Item(0)->Result()->ResultName();
    const std::string third = results->Item(2)->Result()->ResultName();
    QCOMPARE(f.runConsole({"export-results", f.database, "--format", "text", "--output",
                           console + "/{Result Name}", "--result", first, "--result", third,
                           "--header", "--result-data"}),
             0);
    const auto written = filesIn(desktop);
    QCOMPARE(written.size(), std::size_t{2});
    QCOMPARE(written, filesIn(console));
    for (const auto& name : written) {
      QCOMPARE(QString::fromStdString(ReadFile(desktop + "/" + name)),
               QString::fromStdString(ReadFile(console + "/" + name)));
    }
    click(statusWindow->widgetOf(status->cmdOK));
    QVERIFY(!statusWindow->isOpen());
  }

  void aSelectionLargerThanOneRunIsRefusedBeforeAnythingIsWritten() {
    DesktopFixture f;
    const std::string fragments = f.tree.Path("fragments.tsv");
    {
      std::ofstream table(fragments);
      table << "Result Name\tSubject ID\tLocus\tAllele ID\n";
      for (int i = 0; i < 32767; ++i) table << "R" << i << "\tS" << i << "\tD1\t10\n";
    }
    QCOMPARE(f.runConsole({"import", f.database, "--name", "Large", "--fragments", fragments}), 0);
    QVERIFY(f.window->openDatabase(QString::fromStdString(f.database)));
    f.window->commandAction("ExportResult")->trigger();
    auto wizard = f.host->windows().lastWindow("ExportResultSelection");
    QVERIFY(wizard);
    auto* list = wizard->dialog()->findChild<QListWidget*>("ctlSelectionWizard");
    QVERIFY(list);
    list->selectAll();
    QString shown;
    answerMessageBox("OK", &shown);
    QTest::mouseClick(wizard->nextButton(), Qt::LeftButton);
    QVERIFY2(shown.contains("32767 results are selected. One export takes at most 32766"),
             qPrintable(shown));
    QCOMPARE(wizard->currentPage(), std::size_t{0});
    QVERIFY(!f.host->windows().lastWindow("ExportResultsStatus"));
    // One fewer fits one run: the wizard moves on.
    list->item(0)->setSelected(false);
    QTest::mouseClick(wizard->nextButton(), Qt::LeftButton);
    QCOMPARE(wizard->currentPage(), std::size_t{1});
    QTest::mouseClick(wizard->cancelButton(), Qt::LeftButton);
  }

  void theWizardGoesBackAndCancelOpensNothing() {
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    f.window->commandAction("ExportResult")->trigger();
    auto wizard = f.host->windows().lastWindow("ExportResultSelection");
    QVERIFY(wizard);
    QVERIFY(!wizard->backButton()->isEnabled());
    QVERIFY(!wizard->finishButton()->isEnabled());  // the selection page disables Finish
    QTest::mouseClick(wizard->nextButton(), Qt::LeftButton);
    QCOMPARE(wizard->currentPage(), std::size_t{0});  // nothing selected: Next does not move on
    auto* list = wizard->dialog()->findChild<QListWidget*>("ctlSelectionWizard");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(0)).center());
    QTest::mouseClick(wizard->nextButton(), Qt::LeftButton);
    QCOMPARE(wizard->currentPage(), std::size_t{1});
    QTest::mouseClick(wizard->backButton(), Qt::LeftButton);
    QCOMPARE(wizard->currentPage(), std::size_t{0});
    QTest::mouseClick(wizard->cancelButton(), Qt::LeftButton);
    QVERIFY(!wizard->isOpen());
    QVERIFY(wizard->WasCancelled());
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
    auto wizard = prepareWizard(f, {0, 1, 2, 3, 4, 5}, out + "/{Result Name}", 1, {});
    QVERIFY(wizard);

    // The user's stop, taken when the run first yields.
    bool stopped = false;
    QTimer::singleShot(0, [&] {
      auto window = f.host->windows().lastWindow("ExportResultsStatus");
      auto page = std::dynamic_pointer_cast<harvestor::ExportResultsStatusPage>(
          f.host->windows().lastPage("ExportResultsStatus"));
      if (!window || !page) return;
      if (closeWindow) {
        f.window->close();
      } else {
        QTest::mouseClick(window->widgetOf(page->cmdCancel), Qt::LeftButton);
      }
      stopped = true;
    });
    QTest::mouseClick(wizard->finishButton(), Qt::LeftButton);
    QVERIFY(stopped);
    QVERIFY(logHas("Export cancelled."));
    QVERIFY(!logHas("Export completed."));
    QVERIFY(filesIn(out).size() < 6);
    auto status = f.host->windows().lastWindow("ExportResultsStatus");
    auto page = std::dynamic_pointer_cast<harvestor::ExportResultsStatusPage>(
        f.host->windows().lastPage("ExportResultsStatus"));
    if (closeWindow) {
      QVERIFY(!status->isOpen());
    } else {
      QVERIFY(!page->cmdCancel.Enabled());
      QVERIFY(!status->widgetOf(page->cmdCancel)->isEnabled());
    }
  }

  void theLocusListQuestionIsAnsweredInAMessageBox_data() {
    QTest::addColumn<QString>("answer");
    QTest::addColumn<bool>("written");
    QTest::newRow("No stops") << "&No" << false;
    QTest::newRow("Yes goes on") << "&Yes" << true;
  }

  void theLocusListQuestionIsAnsweredInAMessageBox() {
    QFETCH(QString, answer);
    QFETCH(bool, written);
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    const std::string target = f.tree.Path("Study.pre");

    QString asked;
    QString defaultButton;
    chooseInFileDialog(QString::fromStdString(target), 2);
    // After the file dialog, the question.
    QTimer::singleShot(0, [&] {
      whenModal(
          [&](QWidget* modal) {
            auto* box = static_cast<QMessageBox*>(modal);
            asked = box->text();
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            for (auto* button : box->buttons()) {
              if (button->text() == answer) button->click();
            }
          },
          "QMessageBox");
    });
    f.window->commandAction("ExportStudy")->trigger();
    QCOMPARE(
        asked,
        QString("Missing or empty LocusList.Txt. Please view the Locus List Editor. Continue?"));
    QCOMPARE(defaultButton, QString("&No"));
    QCOMPARE(std::filesystem::exists(target), written);
    QCOMPARE(logHas("Processing aborted by user: "), !written);
    QCOMPARE(logHas("Export Complete."), written);
    auto page = std::dynamic_pointer_cast<harvestor::ExportStudyStatusPage>(
        f.host->windows().lastPage("ExportStudyStatus"));
    QVERIFY(page->cmdOK.Enabled());
    QCOMPARE(page->ProgressBar.Value(), 100.0f);
    // The log view reads the export log itself, line by line.
    auto* logView = qobject_cast<QListView*>(
        f.host->windows().lastWindow("ExportStudyStatus")->widgetOf(page->txtExportErrors));
    QVERIFY(logView);
    QCOMPARE(static_cast<std::size_t>(logView->model()->rowCount()),
             harvestor::ErrorLog::Lines()->Count());
    const std::string_view last =
        harvestor::ErrorLog::Lines()->Line(harvestor::ErrorLog::Lines()->Count() - 1);
    QCOMPARE(logView->model()->index(logView->model()->rowCount() - 1, 0).data().toString(),
             QString::fromUtf8(last.data(), static_cast<qsizetype>(last.size())));
  }

  void theModelHasEveryFragmentAndSorts() {
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    const auto study = f.host->studies().CurrentStudy();
    FragmentGridModel model(study);
    int fragments = 0;
    const auto results = study->Results();
    for (std::int32_t i = 0; i < results->Count(); ++i)
      fragments += results->Item(i)->Fragments()->Count();
    QCOMPARE(model.rowCount(), fragments);
    QCOMPARE(model.headerData(5, Qt::Horizontal).toString(), QString("Fragment Size"));
    QCOMPARE(model.index(0, 0).data().toString(),
             QString::fromStdString(results->Item(0)->Result()->ResultName()));

    struct Case {
      int column;
      Qt::SortOrder order;
    };
    for (const Case c :
         {Case{5, Qt::AscendingOrder}, Case{6, Qt::DescendingOrder}, Case{3, Qt::AscendingOrder}}) {
      model.sort(c.column, c.order);
      for (int row = 1; row < model.rowCount(); ++row) {
        const QVariant before = model.index(row - 1, c.column).data();
        const QVariant after = model.index(row, c.column).data();
        const bool text = before.typeId() == QMetaType::QString;
        const int compared =
            text ? before.toString().compare(after.toString(), Qt::CaseInsensitive)
                 : (before.toDouble() < after.toDouble() ? -1
                                                         : before.toDouble() > after.toDouble());
        QVERIFY2(c.order == Qt::AscendingOrder ? compared <= 0 : compared >= 0,
                 qPrintable(QString::number(row)));
      }
    }
  }

  void theStudyCsvGoesThroughTheGridPage() {
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    const std::string desktop = f.tree.Path("Desktop.csv"), console = f.tree.Path("Console.csv");
    chooseInFileDialog(QString::fromStdString(desktop), 1);
    f.window->commandAction("ExportStudy")->trigger();
    auto grid = f.host->windows().lastWindow("FragmentGrid");
    QVERIFY(grid);
    auto* view = grid->dialog()->findChild<QTableView*>("FragmentGridView");
    QVERIFY(view && view->model()->rowCount() > 0);
    QVERIFY(std::filesystem::exists(desktop));
    QCOMPARE(f.runConsole({"export-study", f.database, "--format", "csv", "--output", console}), 0);
    QCOMPARE(QString::fromStdString(harvestor::testing::ReadFile(desktop)),
             QString::fromStdString(harvestor::testing::ReadFile(console)));
  }
};

QTEST_MAIN(ExportPagesTest)
#include "ExportPagesTest.moc"
