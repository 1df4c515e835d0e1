// The fragment grid: its model reads every fragment of the study, sorts by
// any column, and the study's CSV export goes through the grid page to the
// same file the console writes.
#include <QTableView>
#include <QtTest>
#include <filesystem>

#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"
#include "workstation/desktop/FragmentGridModel.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;

class FragmentGridTest : public QObject {
  Q_OBJECT
 private slots:
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

QTEST_MAIN(FragmentGridTest)
#include "FragmentGridTest.moc"
