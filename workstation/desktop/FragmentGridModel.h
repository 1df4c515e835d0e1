#pragma once
// The fragment grid's model: one row per fragment of a study, the columns of
// the grid's CSV export. Cells are read from the study when the view asks for
// them; the model keeps only where each result's fragments start and, once
// sorted, the order of the rows.

#include <QAbstractTableModel>
#include <memory>
#include <vector>

#include "harvestor/service/StudyObjects.h"

namespace workstation::desktop {

class FragmentGridModel final : public QAbstractTableModel {
 public:
  explicit FragmentGridModel(std::shared_ptr<harvestor::IStudy> study, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

 private:
  // The value of a cell of the study's row (before sorting): text or number.
  QVariant cell(std::uint32_t row, int column) const;
  std::shared_ptr<harvestor::IStudy> study_;
  std::shared_ptr<harvestor::IStudyResults> results_;
  std::vector<std::uint32_t> starts_;  // first row of each result, then the total
  std::vector<std::uint32_t> order_;   // empty: the study's order
};

}  // namespace workstation::desktop
