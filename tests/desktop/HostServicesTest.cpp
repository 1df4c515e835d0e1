// The desktop's host services as real dialogs: the common dialog prepared
// from what the component set and read back, message boxes with their
// caption, buttons and default, the busy pointer, and error reports.
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QtTest>

#include "harvestor/service/Service.h"
#include "tests/desktop/DesktopFixture.h"

using namespace workstation::desktop;
using namespace workstation::desktop::testing;

class HostServicesTest : public QObject {
  Q_OBJECT
 private slots:
  void theCommonDialogShowsWhatTheComponentSet() {
    DesktopFixture f;
    DesktopDialog& dialog = f.host->windows().dialog();
    dialog.SetDialogTitle("Export Fragments/Genotypes As");
    dialog.SetFileName(f.tree.Path("Study"));
    dialog.SetFilterIndex(2);
    dialog.SetFlags(0x200806);
    std::string filter;
    for (const char* text : harvestor::Service::kStudyFilters) filter += text;
    dialog.SetFilter(filter);
    QString title, chosenFilter, offered;
    QStringList filters;
    bool confirms = false;
    whenModal(
        [&](QWidget* modal) {
          auto* shown = static_cast<QFileDialog*>(modal);
          title = shown->windowTitle();
          filters = shown->nameFilters();
          chosenFilter = shown->selectedNameFilter();
          offered = shown->findChild<QLineEdit*>("fileNameEdit")->text();
          confirms = !shown->testOption(QFileDialog::DontConfirmOverwrite);
          shown->selectNameFilter(filters[3]);
          shown->findChild<QLineEdit*>("fileNameEdit")
              ->setText(QString::fromStdString(f.tree.Path("Other.gsr")));
          static_cast<QDialog*>(shown)->accept();
        },
        "QFileDialog");
    dialog.ShowSave();
    QCOMPARE(title, QString("Export Fragments/Genotypes As"));
    QCOMPARE(filters.size(), 4);
    QCOMPARE(filters[0], QString("CSV (Comma delimited)(*.csv)"));
    QCOMPARE(chosenFilter, filters[1]);
    QCOMPARE(offered, QString("Study"));
    QVERIFY(confirms);
    QCOMPARE(QString::fromStdString(dialog.FileName()),
             QString::fromStdString(f.tree.Path("Other.gsr")));
    QCOMPARE(dialog.FilterIndex(), std::int16_t{4});

    // Cancelled: with CancelError an error, without it nothing changes.
    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }, "QFileDialog");
    dialog.SetCancelError(true);
    bool raised = false;
    try {
      dialog.ShowSave();
    } catch (const harvestor::HError& e) {
      raised = e.Number == 32755;
    }
    QVERIFY(raised);
    whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }, "QFileDialog");
    dialog.SetCancelError(false);
    dialog.ShowSave();
    QCOMPARE(QString::fromStdString(dialog.FileName()),
             QString::fromStdString(f.tree.Path("Other.gsr")));
  }

  void messageBoxesHaveTheirButtonsAndDefault() {
    using namespace harvestor;
    const struct {
      int style;
      const char *title, *caption, *defaultButton, *press;
      int answer;
    } cases[] = {
        {MsgBoxStyle::YesNo | MsgBoxStyle::DefaultButton2, "", "Harvestor", "&No", "&Yes",
         MsgBoxResult::Yes},
        {MsgBoxStyle::YesNo, "", "Harvestor", "&Yes", "&No", MsgBoxResult::No},
        {MsgBoxStyle::OKCancel | MsgBoxStyle::DefaultButton2, "Export Results", "Export Results",
         "Cancel", "Cancel", MsgBoxResult::Cancel},
        {MsgBoxStyle::OKCancel, "Export Results", "Export Results", "OK", "OK", MsgBoxResult::OK},
        {MsgBoxStyle::OKOnly, "LOH Analysis", "LOH Analysis", "OK", "OK", MsgBoxResult::OK},
    };
    DesktopFixture f;
    for (const auto& c : cases) {
      QString shownCaption, shownDefault, shownText;
      whenModal(
          [&](QWidget* modal) {
            auto* box = static_cast<QMessageBox*>(modal);
            shownCaption = box->windowTitle();
            shownText = box->text();
            shownDefault = box->defaultButton()->text();
            for (auto* button : box->buttons()) {
              if (button->text() == c.press) button->click();
            }
          },
          "QMessageBox");
      const auto got = f.host->ui().MsgBox("File name exists:\r\n\r\n[OK] to overwrite file.\r\n",
                                           c.style, c.title);
      QCOMPARE(got, c.answer);
      QCOMPARE(shownCaption, QString(c.caption));
      QCOMPARE(shownDefault, QString(c.defaultButton));
      QCOMPARE(shownText, QString("File name exists:\n\n[OK] to overwrite file."));
    }
  }

  void theHourglassIsTheBusyCursor() {
    DesktopFixture f;
    auto& ui = f.host->ui();
    ui.SetMousePointer(harvestor::MousePointer::Hourglass);
    QVERIFY(QApplication::overrideCursor());
    QCOMPARE(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    ui.SetMousePointer(harvestor::MousePointer::Hourglass);  // set twice, restored once
    ui.SetMousePointer(harvestor::MousePointer::Default);
    QVERIFY(!QApplication::overrideCursor());
    QCOMPARE(ui.MousePointer(), harvestor::MousePointer::Default);
  }

  void anErrorReportShowsEveryPartAndIsLogged() {
    DesktopFixture f;
    f.host->utility().ReportError("Harvestor", "LocusListEditPage", "m_oPageBase_Initialize",
                                  harvestor::HError(75, "Harvestor", "Path/File access error"), "",
                                  0);
    QWidget* dialog = f.host->utility().lastDialog();
    QVERIFY(dialog && dialog->isVisible());
    QStringList texts;
    for (auto* label : dialog->findChildren<QLabel*>()) texts << label->text();
    for (const char* part : {"Harvestor", "LocusListEditPage", "m_oPageBase_Initialize", "75",
                             "Path/File access error"}) {
      QVERIFY2(texts.contains(part), part);
    }
    QCOMPARE(f.host->utility().log().size(), 1);
    QVERIFY(f.host->utility().log().front().contains(
        "LocusListEditPage.m_oPageBase_Initialize: error 75"));
  }
};

QTEST_MAIN(HostServicesTest)
#include "HostServicesTest.moc"
