#include "workstation/desktop/ExportLogModel.h"

#include <algorithm>
#include <climits>

#include "workstation/desktop/ExportLogLines.h"

namespace workstation::desktop {
namespace {

int lineCount() {
  return static_cast<int>(std::min<std::size_t>(ExportLogLines::count(), INT_MAX));
}

}  // namespace

ExportLogModel::ExportLogModel(QObject* parent)
    : QAbstractListModel(parent), generation_(ExportLogLines::generation()), shown_(lineCount()) {}

int ExportLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant ExportLogModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_) return {};
  std::string_view line = ExportLogLines::line(static_cast<std::size_t>(index.row()));
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

void ExportLogModel::refresh() {
  const int count = lineCount();
  if (ExportLogLines::generation() != generation_ || count < shown_) {
    beginResetModel();
    generation_ = ExportLogLines::generation();
    shown_ = count;
    endResetModel();
  } else if (count > shown_) {
    beginInsertRows({}, shown_, count - 1);
    shown_ = count;
    endInsertRows();
  }
}

}  // namespace workstation::desktop
