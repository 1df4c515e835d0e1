#pragma once
// A page's export log box as a list model: one row per line shown, each read
// from the box's window of lines when the view draws it, so a view of a log
// of millions of lines scrolls without copying it. The binding tells the
// model what the box tells it: reset() when the box shows a new log, added()
// for lines added at its end.

#include <QAbstractListModel>
#include <cstddef>

namespace harvestor {
class ExportLogBox;
}

namespace workstation::desktop {

class ExportLogModel final : public QAbstractListModel {
 public:
  explicit ExportLogModel(const harvestor::ExportLogBox& box, QObject* parent = nullptr);
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  void reset();
  void added(std::size_t first, std::size_t count);

 private:
  const harvestor::ExportLogBox& box_;
  int shown_ = 0;
};

}  // namespace workstation::desktop
