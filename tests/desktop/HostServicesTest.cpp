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
    const QString other = QString::fromStdString(f.tree.Path("Other.gsr"));
    QStringList shown, filters;
    whenModal(
        [&](QWidget* modal) {
          auto* box = static_cast<QFileDialog*>(modal);
          auto* name = box->findChild<QLineEdit*>("fileNameEdit");
          shown << box->windowTitle() << box->selectedNameFilter() << name->text()
                << (box->testOption(QFileDialog::DontConfirmOverwrite) ? "" : "confirms");
          filters = box->nameFilters();
          box->selectNameFilter(filters[3]);
          name->setText(other);
          static_cast<QDialog*>(box)->accept();
        },
        "QFileDialog");
    dialog.ShowSave();
    QCOMPARE(filters.size(), 4);
    QCOMPARE(filters[0], QString("CSV (Comma delimited)(*.csv)"));
    QCOMPARE(shown,
             (QStringList{"Export Fragments/Genotypes As", filters[1], "Study", "confirms"}));
    QCOMPARE(QString::fromStdString(dialog.FileName()), other);
    QCOMPARE(dialog.FilterIndex(), std::int16_t{4});

    // Cancelled: with CancelError an error, without it nothing changes.
    for (bool cancelError : {true, false}) {
      whenModal([](QWidget* modal) { static_cast<QDialog*>(modal)->reject(); }, "QFileDialog");
      dialog.SetCancelError(cancelError);
      int raised = 0;
      try {
        dialog.ShowSave();
      } catch (const harvestor::HError& e) {
        raised = e.Number;
      }
      QCOMPARE(raised, cancelError ? 32755 : 0);
    }
    QCOMPARE(QString::fromStdString(dialog.FileName()), other);
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
        {MsgBoxStyle::OKOnly, "LOH Analysis", "LOH Analysis", "OK", "OK", MsgBoxResult::OK},
    };
    DesktopFixture f;
    for (const auto& c : cases) {
      QStringList shown;
      whenModal(
          [&](QWidget* modal) {
            auto* box = static_cast<QMessageBox*>(modal);
            shown << box->windowTitle() << box->defaultButton()->text() << box->text();
            for (auto* button : box->buttons()) {
              if (button->text() == c.press) button->click();
            }
          },
          "QMessageBox");
      QCOMPARE(f.host->ui().MsgBox("File name exists:\r\n\r\n[OK] to overwrite file.\r\n", c.style,
                                   c.title),
               c.answer);
      QCOMPARE(shown, (QStringList{c.caption, c.defaultButton,
                                   "File name exists:\n\n[OK] to overwrite file."}));
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
                             "Path/File access error"})
      QVERIFY2(texts.contains(part), part);
    QCOMPARE(f.host->utility().log().size(), 1);
    QVERIFY(f.host->utility().log().front().contains(
        "LocusListEditPage.m_oPageBase_Initialize: error 75"));
  }
};

QTEST_MAIN(HostServicesTest)
#include "HostServicesTest.moc"
