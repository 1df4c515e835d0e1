#include "workstation/desktop/DesktopServices.h"

#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace workstation::desktop {

void DesktopProgress::Start(double maximum, double) {
  maximum_ = maximum;
  value_ = 0;
  if (!bar_) return;
  bar_->setRange(0, 1000);
  bar_->setValue(0);
  bar_->show();
}

void DesktopProgress::Advance() {
  value_ += 1;
  if (bar_ && maximum_ > 0)
    bar_->setValue(static_cast<int>(std::min(1.0, value_ / maximum_) * 1000));
}

void DesktopProgress::Finish() {
  if (bar_) bar_->hide();
}

void DesktopUtility::ReportError(const std::string& component, const std::string& where,
                                 const std::string& procedure, const harvestor::HError& error,
                                 const std::string& helpText, std::int32_t helpContext) {
  console_.ReportError(component, where, procedure, error, helpText, helpContext);
  const QString number = QString::number(error.Number);
  const QString description = QString::fromStdString(error.Description);
  log_ << QStringLiteral("%1  %2 %3.%4: error %5: %6")
              .arg(QDateTime::currentDateTime().toString(Qt::ISODate),
                   QString::fromStdString(component), QString::fromStdString(where),
                   QString::fromStdString(procedure), number, description);

  // Not modal: a report made deep in a run lets the run go on to its end.
  auto* dialog = new QDialog(owner_);
  dialog->setObjectName("ErrorDialog");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(QObject::tr("Harvestor Error"));
  auto* layout = new QVBoxLayout(dialog);
  auto* heading = new QLabel(QObject::tr("<b>An error occurred.</b>"), dialog);
  layout->addWidget(heading);
  auto* form = new QFormLayout;
  auto field = [&](const QString& name, const QString& value) {
    auto* shown = new QLabel(value, dialog);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    shown->setWordWrap(true);
    form->addRow(name, shown);
  };
  field(QObject::tr("Component:"), QString::fromStdString(component));
  field(QObject::tr("Class:"), QString::fromStdString(where));
  field(QObject::tr("Procedure:"), QString::fromStdString(procedure));
  field(QObject::tr("Number:"), number);
  field(QObject::tr("Description:"), description);
  layout->addLayout(form);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  auto* logButton = buttons->addButton(QObject::tr("Show &Log"), QDialogButtonBox::ActionRole);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  QObject::connect(logButton, &QPushButton::clicked, dialog, [this] { showLog(); });
  layout->addWidget(buttons);
  dialog->show();
  lastDialog_ = dialog;
}

void DesktopUtility::showLog() {
  auto* dialog = new QDialog(owner_);
  dialog->setObjectName("ErrorLog");
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  dialog->setWindowTitle(QObject::tr("Harvestor Error Log"));
  auto* layout = new QVBoxLayout(dialog);
  auto* text = new QPlainTextEdit(dialog);
  text->setReadOnly(true);
  text->setPlainText(log_.isEmpty() ? QObject::tr("No errors have been reported.")
                                    : log_.join('\n'));
  layout->addWidget(text);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, dialog);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::close);
  layout->addWidget(buttons);
  dialog->resize(640, 320);
  dialog->show();
}

}  // namespace workstation::desktop
