// The locus list editor in its window: a locus picked in the widget and moved
// by its button, and OK saving the list after asking about the existing file.
// (The page's moves are LocusListEditPageTest's; the binding's, ControlBindingTest's.)
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/studypages/LocusListEditPage.h"
#include "tests/desktop/DesktopFixture.h"
#include "workstation/desktop/DesktopWindow.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;

class LocusListEditorTest : public QObject {
  Q_OBJECT
 private slots:
  void aPickedLocusIsMovedAndSavedOnOK() {
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
    QCOMPARE(QString::fromStdString(page.lstSelected.Items().front()), locus);

    QString asked;
    answerMessageBox("&Yes", &asked);
    QTest::mouseClick(window->finishButton(), Qt::LeftButton);
    QCOMPARE(asked, QString("Locuslist.txt already exists. Overwrite the file with your changes?"));
    QVERIFY(!window->isOpen());
    QCOMPARE(
        QString::fromStdString(harvestor::testing::ReadFile(harvestor::LocusListFile::FullName())),
        locus + "\r\n");
  }
};

QTEST_MAIN(LocusListEditorTest)
#include "LocusListEditorTest.moc"
