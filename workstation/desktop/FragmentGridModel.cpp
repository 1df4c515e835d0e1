#include "workstation/desktop/FragmentGridModel.h"

#include <algorithm>

namespace workstation::desktop {
namespace {

const char* const kColumns[] = {
    "Result Name",    "Subject ID",  "Dye",       "Locus",   "Allele ID",
    "Fragment Size",  "Peak Height", "Peak Area", "Comment", "Fragment Excluded",
    "Result Excluded"};
constexpr int kColumnCount = static_cast<int>(std::size(kColumns));

}  // namespace

FragmentGridModel::FragmentGridModel(std::shared_ptr<harvestor::IStudy> study, QObject* parent)
    : QAbstractTableModel(parent), study_(std::move(study)) {
  starts_.push_back(0);
  if (!study_) return;
  results_ = study_->Results();
  for (std::int32_t i = 0; i < results_->Count(); ++i) {
    starts_.push_back(starts_.back() +
                      static_cast<std::uint32_t>(results_->Item(i)->Fragments()->Count()));
  }
}

int FragmentGridModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(starts_.back());
}

int FragmentGridModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : kColumnCount;
}

QVariant FragmentGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  return section >= 0 && section < kColumnCount ? QVariant(QString::fromLatin1(kColumns[section]))
                                                : QVariant();
}

QVariant FragmentGridModel::cell(std::uint32_t row, int column) const {
  const auto at = std::upper_bound(starts_.begin(), starts_.end(), row) - starts_.begin() - 1;
  const auto studyResult = results_->Item(static_cast<std::int32_t>(at));
  const auto& fragment = studyResult->Fragments()->Item(
      static_cast<std::int32_t>(row - starts_[static_cast<std::size_t>(at)]));
  switch (column) {
    case 0:
      return QString::fromStdString(studyResult->Result()->ResultName());
    case 1:
      return QString::fromStdString(studyResult->Result()->Sample()->SubjectID());
    case 2:
      return fragment.Dye();
    case 3:
      return QString::fromStdString(fragment.Locus());
    case 4:
      return QString::fromStdString(fragment.AlleleID());
    case 5:
      return fragment.FragmentSize();
    case 6:
      return fragment.PeakHeight();
    case 7:
      return fragment.PeakArea();
    case 8:
      return QString::fromStdString(fragment.Comment());
    case 9:
      return fragment.Excluded() ? 1 : 0;
    case 10:
      return studyResult->Excluded() ? 1 : 0;
    default:
      return {};
  }
}

QVariant FragmentGridModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || (role != Qt::DisplayRole && role != Qt::TextAlignmentRole)) return {};
  const auto row = static_cast<std::uint32_t>(index.row());
  if (role == Qt::TextAlignmentRole) {
    const bool number = index.column() == 2 || (index.column() >= 5 && index.column() <= 7);
    return number ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
  }
  return cell(order_.empty() ? row : order_[row], index.column());
}

void FragmentGridModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kColumnCount || !results_) return;
  emit layoutAboutToBeChanged();
  std::vector<std::uint32_t> rows(starts_.back());
  for (std::uint32_t i = 0; i < rows.size(); ++i) rows[i] = i;
  // Each cell is read once; the sort compares the values taken.
  std::vector<QVariant> keys(rows.size());
  for (std::uint32_t i = 0; i < rows.size(); ++i) keys[i] = cell(i, column);
  const bool text = keys.empty() || keys.front().typeId() == QMetaType::QString;
  std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) {
    const QVariant& x = keys[order == Qt::AscendingOrder ? a : b];
    const QVariant& y = keys[order == Qt::AscendingOrder ? b : a];
    if (text) return x.toString().compare(y.toString(), Qt::CaseInsensitive) < 0;
    return x.toDouble() < y.toDouble();
  });
  order_ = std::move(rows);
  emit layoutChanged();
}

}  // namespace workstation::desktop
