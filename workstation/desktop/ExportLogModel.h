#pragma once
// The export log as a list model: one row per line, each read from the log
// when the view draws it. refresh() tells the view of the lines added since
// (or of a new log), so a view of a log of millions of lines scrolls without
// copying it.

#include <QAbstractListModel>

namespace workstation::desktop {

class ExportLogModel final : public QAbstractListModel {
 public:
  explicit ExportLogModel(QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  void refresh();

 private:
  unsigned long generation_ = 0;
  int shown_ = 0;
};

}  // namespace workstation::desktop
