#include "workstation/desktop/ExportLogModel.h"

#include <algorithm>
#include <climits>

#include "harvestor/service/ExportLogBox.h"

namespace workstation::desktop {
namespace {

// A list view counts its rows in an int; a longer log shows its first INT_MAX lines.
int rows(std::size_t lines) { return static_cast<int>(std::min<std::size_t>(lines, INT_MAX)); }

}  // namespace

ExportLogModel::ExportLogModel(const harvestor::ExportLogBox& box, QObject* parent)
    : QAbstractListModel(parent), box_(box), shown_(rows(box.LineCount())) {}

int ExportLogModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : shown_;
}

QVariant ExportLogModel::data(const QModelIndex& index, int role) const {
  if (role != Qt::DisplayRole || !index.isValid() || index.row() >= shown_) return {};
  std::string_view line = box_.Line(static_cast<std::size_t>(index.row()));
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  return QString::fromUtf8(line.data(), static_cast<qsizetype>(line.size()));
}

void ExportLogModel::reset() {
  beginResetModel();
  shown_ = rows(box_.LineCount());
  endResetModel();
}

void ExportLogModel::added(std::size_t first, std::size_t count) {
  const int last = rows(first + count);
  if (static_cast<std::size_t>(shown_) != first || last <= shown_) {
    if (last != shown_) reset();
    return;
  }
  beginInsertRows({}, shown_, last - 1);
  shown_ = last;
  endInsertRows();
}

}  // namespace workstation::desktop
