// The binding of controls to widgets: what a page sets shows in the widget,
// and what the user does reaches the control before the page's handler runs.
#include <QCheckBox>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QtTest>

#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/ExportLogBox.h"
#include "tests/fakes/TestHost.h"
#include "workstation/desktop/ControlBinding.h"

using namespace workstation::desktop;

class ControlBindingTest : public QObject {
  Q_OBJECT
 private slots:
  void aControlChangeShowsInItsWidgetUntilTheBindingIsReleased() {
    harvestor::Label label("lblName", "Exporting:");
    harvestor::ProgressBarControl bar("ProgressBar");
    harvestor::TextBox log("txtLog");
    harvestor::CheckBox check("chkHeader", "&Header");
    harvestor::ListBox list("lstLoci", false);
    harvestor::CommandButton button("cmdOK", "OK");
    auto owned = std::make_unique<ControlBinding>();
    ControlBinding& binding = *owned;
    std::unique_ptr<QWidget> form(
        binding.build({&label, &bar, &log, &check, &list, &button}, nullptr));
    form->show();

    label.Caption("Exporting: R1");
    QCOMPARE(qobject_cast<QLabel*>(binding.widget(label))->text(), QString("Exporting: R1"));
    label.Visible(false);
    QVERIFY(!binding.widget(label)->isVisible());
    bar.Max(100);
    bar.Value(66);
    QCOMPARE(qobject_cast<QProgressBar*>(binding.widget(bar))->value(), 66);
    log.Text("first\r\n");
    log.AppendText("second\r\n");
    QCOMPARE(qobject_cast<QPlainTextEdit*>(binding.widget(log))->toPlainText(),
             QString("first\nsecond\n"));
    check.Value(1);
    QVERIFY(qobject_cast<QCheckBox*>(binding.widget(check))->isChecked());
    check.Enabled(false);
    QVERIFY(!binding.widget(check)->isEnabled());
    list.AddItem("D1");
    list.AddItem("D2");
    list.Selected(1, true);
    auto* shown = qobject_cast<QListWidget*>(binding.widget(list));
    QCOMPARE(shown->count(), 2);
    QVERIFY(shown->item(1)->isSelected());
    button.Caption("&Close");
    QCOMPARE(qobject_cast<QPushButton*>(binding.widget(button))->text(), QString("&Close"));

    owned.reset();
    form.reset();
    label.Caption("b");  // a released binding leaves the control alone: no widget, no crash
    QCOMPARE(QString::fromStdString(label.Caption()), QString("b"));
  }

  void anEditReachesItsControlBeforeTheHandler() {
    harvestor::CheckBox check("chkHeader", "&Header");
    harvestor::ListBox list("lstLoci", true);
    harvestor::CommandButton button("cmdGo", "Go");
    for (const char* name : {"C", "A", "B"}) list.AddItem(name);
    std::vector<bool> seen;
    std::int16_t valueSeen = -1;
    check.OnClick = [&] { valueSeen = check.Value(); };
    button.OnClick = [&] {
      for (std::int16_t i = 0; i < list.ListCount(); ++i) seen.push_back(list.Selected(i));
    };
    ControlBinding binding;
    std::unique_ptr<QWidget> form(binding.build({&check, &list, &button}, nullptr));
    form->show();

    qobject_cast<QCheckBox*>(binding.widget(check))->click();
    QCOMPARE(check.Value(), std::int16_t{1});
    QCOMPARE(valueSeen, std::int16_t{1});

    auto* shown = qobject_cast<QListWidget*>(binding.widget(list));
    QCOMPARE(shown->item(0)->text(), QString("A"));  // a sorted box shows its order
    shown->item(0)->setSelected(true);
    shown->item(2)->setSelected(true);
    QTest::mouseClick(binding.widget(button), Qt::LeftButton);
    QCOMPARE(seen, (std::vector<bool>{true, false, true}));
  }

  void anExportLogBoxIsAListViewReadingTheLinesShown() {
    harvestor::testing::TestHost host;
    harvestor::ExportLogBox log("txtExportErrors");
    ControlBinding binding;
    std::unique_ptr<QWidget> form(binding.build({&log}, nullptr));
    auto* view = qobject_cast<QListView*>(binding.widget(log));
    QVERIFY(view);
    auto rows = [view] {
      QStringList shown;
      for (int row = 0; row < view->model()->rowCount(); ++row)
        shown << view->model()->index(row, 0).data().toString();
      return shown;
    };
    harvestor::ErrorLog::LogExportMsg("first");
    harvestor::ErrorLog::LogExportMsg("\tdetail");
    QCOMPARE(rows(), QStringList());  // nothing shown until the page shows the log
    log.Show();
    QCOMPARE(rows(), (QStringList{"first", "\tdetail"}));
    QSignalSpy inserted(view->model(), &QAbstractItemModel::rowsInserted);
    harvestor::ErrorLog::LogExportMsg("last");
    log.Show();
    QCOMPARE(rows(), (QStringList{"first", "\tdetail", "last"}));
    QCOMPARE(inserted.count(), 1);
    QCOMPARE(inserted.front().at(1).toInt(), 2);  // only the new row
    harvestor::ErrorLog::InitalizeExportLog();
    harvestor::ErrorLog::LogExportMsg("again");
    log.Show();
    QCOMPARE(rows(), QStringList{"again"});
  }
};

QTEST_MAIN(ControlBindingTest)
#include "ControlBindingTest.moc"
