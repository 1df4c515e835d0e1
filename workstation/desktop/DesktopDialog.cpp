#include "workstation/desktop/DesktopDialog.h"

#include <QFileDialog>
#include <QFileInfo>

#include "harvestor/service/HError.h"

namespace workstation::desktop {

QStringList DesktopDialog::nameFilters(const std::string& filter) {
  const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    // Qt reads the patterns from the description's last parentheses.
    filters << (description.endsWith(QLatin1Char(')'))
                    ? description
                    : description + QStringLiteral(" (") + patterns + QLatin1Char(')'));
  }
  return filters;
}

void DesktopDialog::ShowSave() {
  QFileDialog dialog(owner_, QString::fromStdString(title_));
  dialog.setObjectName("CommonDialog");
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, (flags_ & DialogFlags::OverwritePrompt) == 0);
  if (flags_ & DialogFlags::FileMustExist) dialog.setFileMode(QFileDialog::ExistingFile);
  const QStringList filters = nameFilters(filter_);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (filterIndex_ >= 1 && filterIndex_ <= filters.size())
      dialog.selectNameFilter(filters[filterIndex_ - 1]);
  }
  const QFileInfo offered(QString::fromStdString(fileName_));
  if (!fileName_.empty()) {
    if (offered.dir().exists()) dialog.setDirectory(offered.absolutePath());
    dialog.selectFile(offered.fileName());
  }
  // A folder that does not exist counts as a cancel when the path must exist.
  const bool accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() &&
                        (!(flags_ & DialogFlags::PathMustExist) ||
                         QFileInfo(dialog.selectedFiles().front()).dir().exists());
  if (!accepted) {
    if (cancelError_) throw harvestor::HError(32755, "CommonDialog", "Cancel was selected.");
    return;
  }
  fileName_ = dialog.selectedFiles().front().toStdString();
  const auto chosen = filters.indexOf(dialog.selectedNameFilter());
  if (chosen >= 0) filterIndex_ = static_cast<std::int16_t>(chosen + 1);
}

}  // namespace workstation::desktop
