// The main window: the commands' enabling as a study opens and closes, the
// database's studies and the open study's views, sorted by a column, the
// recent list, and the host's open-study page shown by Export Study when no
// study is open.
#include <QAction>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"
#include "workstation/spreadsheet/CalcAutomation.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;

class MainWindowTest : public QObject {
  Q_OBJECT
  const char* f_missingProgram = "/nonexistent/soffice";
 private slots:
  void commandsFollowTheOpenStudy() {
    DesktopFixture f;
    QVERIFY(f.importSmallStudy(f.database));
    struct Expect {
      const char* command;
      bool closed, open;
    };
    const Expect expected[] = {{"ExportResult", true, true},
                               {"ExportStudy", false, true},
                               {"LOH", false, true},
                               {"LocusListEdit", true, true}};
    for (const auto& e : expected)
      QCOMPARE(f.window->commandAction(e.command)->isEnabled(), e.closed);

    QVERIFY(f.window->openDatabase(QString::fromStdString(f.database)));  // its only study opens
    QVERIFY(f.host->studies().IsStudyOpen());
    for (const auto& e : expected)
      QCOMPARE(f.window->commandAction(e.command)->isEnabled(), e.open);
    QCOMPARE(f.window->resultsView()->model()->rowCount(), 6);
    QVERIFY(f.window->subjectsView()->model()->rowCount() >= 1);
    QCOMPARE(f.window->recentDatabases().front(),
             QFileInfo(QString::fromStdString(f.database)).absoluteFilePath());
    // The results sort by the column clicked.
    QTableView* view = f.window->resultsView();
    view->sortByColumn(0, Qt::DescendingOrder);
    const auto first = view->model()->index(0, 0).data().toString();
    view->sortByColumn(0, Qt::AscendingOrder);
    QVERIFY(view->model()->index(0, 0).data().toString() < first);

    f.window->closeStudy();
    for (const auto& e : expected)
      QCOMPARE(f.window->commandAction(e.command)->isEnabled(), e.closed);
  }

  void geometryIsRememberedFromOneWindowToTheNext() {
    DesktopFixture f;
    f.window->show();
    f.window->resize(640, 420);
    f.window->move(33, 44);
    QVERIFY(f.window->close());
    MainWindow again(*f.host);
    QCOMPARE(again.size(), QSize(640, 420));
  }

  void tabOrderRunsFromTheStudiesToTheViews() {
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
  }

  void aboutNamesTheVersionAndQt() {
    DesktopFixture f;
    QString shown;
    whenModal([&](QWidget* modal) {
      shown = static_cast<QMessageBox*>(modal)->text();
      static_cast<QMessageBox*>(modal)->accept();
    });
    f.window->showAbout();
    QVERIFY2(shown.contains(QStringLiteral(HARVESTOR_DESKTOP_VERSION)), qPrintable(shown));
    QVERIFY2(shown.contains(QString::fromLatin1(qVersion())), qPrintable(shown));
  }

  void exportStudyWithoutAStudyOffersTheOpenStudyPage() {
    DesktopFixture f;
    QVERIFY(f.importSmallStudy(f.database, "First"));
    QVERIFY(f.importSmallStudy(f.database, "Second"));
    QVERIFY(f.window->openDatabase(QString::fromStdString(f.database)));
    QVERIFY(!f.host->studies().IsStudyOpen());

    // Cancelled: no dialog follows and no study opens.
    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); });
    f.host->service().ExportStudy();
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

  void shortcutsReachTheirCommands() {
    DesktopFixture f;
    QCOMPARE(f.window->commandAction("ExportResult")->shortcut(), QKeySequence("Ctrl+E"));
    QStringList shortcuts;
    for (QAction* action : f.window->findChildren<QAction*>())
      shortcuts << action->shortcut().toString();
    QVERIFY(shortcuts.contains("Ctrl+O"));
    QVERIFY(shortcuts.contains("F1"));
  }

  void theLohLaunchTellsWhyItCannotStart() {
    workstation::CalcAutomation calc({f_missingProgram, {}});
    DesktopFixture f(&calc);
    QVERIFY(f.openSmallStudy());
    QString caption, text;
    whenModal(
        [&](QWidget* modal) {
          caption = modal->windowTitle();
          text = static_cast<QMessageBox*>(modal)->text();
          static_cast<QMessageBox*>(modal)->accept();
        },
        "QMessageBox");
    f.window->commandAction("LOH")->trigger();
    QCOMPARE(caption, QString("LOH Analysis"));
    QVERIFY2(text.startsWith("Microsoft Excel has not been installed."), qPrintable(text));
    QCOMPARE(f.host->utility().reports(), 0);
  }

  void aFileThatIsNoDatabaseIsRefused() {
    DesktopFixture f;
    harvestor::testing::WriteFile(f.tree.Path("notes.db"), "not a database");
    answerMessageBox("OK");
    QVERIFY(!f.window->openDatabase(QString::fromStdString(f.tree.Path("notes.db"))));
    QVERIFY(!f.host->studies().IsStudyOpen());
  }
};

QTEST_MAIN(MainWindowTest)
#include "MainWindowTest.moc"
