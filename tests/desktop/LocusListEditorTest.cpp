// The locus list editor in its window: each of its six buttons pressed on
// what the user selected in the lists, and OK saving the list.
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/studypages/LocusListEditPage.h"
#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;

namespace {

QStringList itemsOf(QListWidget* list) {
  QStringList items;
  for (int i = 0; i < list->count(); ++i) items << list->item(i)->text();
  return items;
}

QStringList itemsOf(const harvestor::ListBox& box) {
  QStringList items;
  for (const auto& item : box.Items()) items << QString::fromStdString(item);
  return items;
}

}  // namespace

class LocusListEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void theSixButtonsMoveWhatIsSelected() {
    DesktopFixture f;
    QVERIFY(f.openSmallStudy());
    f.window->commandAction("LocusListEdit")->trigger();
    auto window = f.host->windows().lastWindow("ShowLocusListEditPage");
    QVERIFY(window && window->isOpen());
    auto& page = dynamic_cast<harvestor::LocusListEditPage&>(*window->pages().front());
    auto* possible = qobject_cast<QListWidget*>(window->widgetOf(page.lstPossible));
    auto* selected = qobject_cast<QListWidget*>(window->widgetOf(page.lstSelected));
    QVERIFY(possible && selected);
    const QStringList loci = itemsOf(possible);
    QVERIFY(loci.size() >= 2);
    auto press = [&](harvestor::CommandButton& button) {
      QTest::mouseClick(window->widgetOf(button), Qt::LeftButton);
      // The widgets always show what the page holds.
      QCOMPARE(itemsOf(possible), itemsOf(page.lstPossible));
      QCOMPARE(itemsOf(selected), itemsOf(page.lstSelected));
    };
    auto pick = [](QListWidget* list, int row) {
      list->clearSelection();
      QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                        list->visualItemRect(list->item(row)).center());
    };

    pick(possible, 1);
    press(page.btnToList);
    QCOMPARE(itemsOf(selected), QStringList{loci[1]});

    press(page.btnAllToList);
    QCOMPARE(possible->count(), 0);
    QCOMPARE(selected->count(), loci.size());
    const QString second = selected->item(1)->text();

    pick(selected, 1);
    press(page.btnUpOrder);
    QCOMPARE(selected->item(0)->text(), second);
    pick(selected, 0);
    press(page.btnDownOrder);
    QCOMPARE(selected->item(1)->text(), second);

    pick(selected, 0);
    press(page.btnToTree);
    QCOMPARE(selected->count(), loci.size() - 1);
    QCOMPARE(possible->count(), 1);

    press(page.btnAllToTree);
    QCOMPARE(selected->count(), 0);
    QCOMPARE(itemsOf(possible), loci);

    // Saved on OK, after the question about the existing file.
    pick(possible, 0);
    press(page.btnToList);
    QString asked;
    answerMessageBox("&Yes", &asked);
    QTest::mouseClick(window->finishButton(), Qt::LeftButton);
    QCOMPARE(asked, QString("Locuslist.txt already exists. Overwrite the file with your changes?"));
    QVERIFY(!window->isOpen());
    QCOMPARE(
        QString::fromStdString(harvestor::testing::ReadFile(harvestor::LocusListFile::FullName())),
        loci[0] + "\r\n");
  }
};

QTEST_MAIN(LocusListEditorTest)
#include "LocusListEditorTest.moc"
