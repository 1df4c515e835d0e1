// The main window: the commands' enabling as a study opens and closes, its
// views, the recent list, its geometry and tab order, a file refused, the
// open-study page of Export Study, and the locus list editor's window.
#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QListWidget>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/studypages/LocusListEditPage.h"
#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;

class MainWindowTest : public QObject {
  Q_OBJECT
 private slots:
  void aFileThatIsNoDatabaseIsRefusedAndTheCommandsFollowTheOpenStudy() {
    DesktopFixture f;
    harvestor::testing::WriteFile(f.tree.Path("notes.db"), "not a database");
    answerMessageBox("OK");
    QVERIFY(!f.window->openDatabase(QString::fromStdString(f.tree.Path("notes.db"))));
    QVERIFY(f.importSmallStudy(f.database));
    auto enabled = [&] {
      QString flags;
      for (const char* command : {"ExportResult", "ExportStudy", "LOH", "LocusListEdit"})
        flags += f.window->commandAction(command)->isEnabled() ? '1' : '0';
      return flags;
    };
    QCOMPARE(enabled(), QString("1001"));

    QVERIFY(f.window->openDatabase(QString::fromStdString(f.database)));  // its only study opens
    QVERIFY(f.host->studies().IsStudyOpen());
    QCOMPARE(enabled(), QString("1111"));
    QCOMPARE(f.window->resultsView()->model()->rowCount(), 6);
    QVERIFY(f.window->subjectsView()->model()->rowCount() >= 1);
    QCOMPARE(f.window->recentDatabases().front(),
             QFileInfo(QString::fromStdString(f.database)).absoluteFilePath());
    QTableView* view = f.window->resultsView();
    view->sortByColumn(0, Qt::DescendingOrder);
    const auto first = view->model()->index(0, 0).data().toString();
    view->sortByColumn(0, Qt::AscendingOrder);
    QVERIFY(view->model()->index(0, 0).data().toString() < first);

    f.window->closeStudy();
    QCOMPARE(enabled(), QString("1001"));
  }

  void tabRunsFromTheStudiesToTheViewsAndTheGeometryIsRemembered() {
    DesktopFixture f;
    f.window->show();
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window.get()));
    f.window->studiesView()->setFocus(Qt::TabFocusReason);
    QStringList visited;
    for (int i = 0; i < 4 && QApplication::focusWidget() != f.window->subjectsView(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->metaObject()->className();
    }
    QVERIFY2(QApplication::focusWidget() == f.window->subjectsView(),
             qPrintable(visited.join(", ")));

    f.window->resize(640, 420);
    QVERIFY(f.window->close());
    MainWindow again(*f.host);
    QCOMPARE(again.size(), QSize(640, 420));
  }

  void exportStudyWithoutAStudyOffersTheOpenStudyPage() {
    DesktopFixture f;
    QVERIFY(f.importSmallStudy(f.database, "First"));
    QVERIFY(f.importSmallStudy(f.database, "Second"));
    QVERIFY(f.window->openDatabase(QString::fromStdString(f.database)));
    QVERIFY(!f.host->studies().IsStudyOpen());

    // The second study chosen: it opens, and the save dialog offers its name.
    QString offered;
    whenModal([&](QWidget* modal) {
      QCOMPARE(modal->objectName(), QString("OpenStudy"));
      auto* list = modal->findChild<QListWidget*>("lstStudies");
      QCOMPARE(list->count(), 2);
      list->setCurrentRow(1);
      whenModal(
          [&](QWidget* dialog) {
            offered = static_cast<QFileDialog*>(dialog)->selectedFiles().value(0);
            static_cast<QDialog*>(dialog)->reject();
          },
          "QFileDialog");
      modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Open)->click();
    });
    f.host->service().ExportStudy();
    QVERIFY(f.host->studies().IsStudyOpen());
    QCOMPARE(QString::fromStdString(f.host->studies().CurrentStudy()->StudyName()),
             QString("Second"));
    QVERIFY2(offered.endsWith("/Second"), qPrintable(offered));
    QVERIFY(f.window->commandAction("ExportStudy")->isEnabled());
  }

  // The page's moves and question are LocusListEditPageTest's; here, the widgets and the file.
  void theLocusListEditorMovesAPickedLocusAndSavesOnOK() {
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    f.window->commandAction("LocusListEdit")->trigger();
    auto window = f.host->windows().lastWindow("ShowLocusListEditPage");
    QVERIFY(window && window->isOpen());
    auto& page = dynamic_cast<harvestor::LocusListEditPage&>(*window->pages().front());
    auto* possible = qobject_cast<QListWidget*>(window->widgetOf(page.lstPossible));
    auto* selected = qobject_cast<QListWidget*>(window->widgetOf(page.lstSelected));
    QVERIFY(possible && selected && possible->count() >= 2);
    const QString locus = possible->item(1)->text();
    QTest::mouseClick(possible->viewport(), Qt::LeftButton, {},
                      possible->visualItemRect(possible->item(1)).center());
    QTest::mouseClick(window->widgetOf(page.btnToList), Qt::LeftButton);
    QCOMPARE(selected->count(), 1);
    QCOMPARE(selected->item(0)->text(), locus);

    QString asked;
    answerMessageBox("&Yes", &asked);
    QTest::mouseClick(window->finishButton(), Qt::LeftButton);
    QVERIFY(!asked.isEmpty() && !window->isOpen());
    QCOMPARE(
        QString::fromStdString(harvestor::testing::ReadFile(harvestor::LocusListFile::FullName())),
        locus + "\r\n");
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
