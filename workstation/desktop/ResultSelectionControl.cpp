#include "workstation/desktop/ResultSelectionControl.h"

#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/HostObjects.h"

namespace workstation::desktop {
namespace {

std::string keyOf(std::size_t row) { return "#" + std::to_string(row); }

}  // namespace

void ResultSelectionControl::InitSelection(const std::string& selectionType,
                                           const harvestor::ResultCollection& selection) {
  type_ = selectionType;
  selection_ = selection;
}

QListWidget* ResultSelectionControl::widget(QWidget* parent) {
  if (list_) return list_;
  list_ = new QListWidget(parent);
  list_->setObjectName("ctlSelectionWizard");
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  results_.clear();
  if (const auto study = harvestor::HostObjects::StudyService().CurrentStudy()) {
    const auto results = study->Results();
    for (std::int32_t i = 0; i < results->Count(); ++i) {
      results_.push_back(results->Item(i)->Result());
      list_->addItem(QString::fromStdString(results_.back()->ResultName()));
    }
  }
  QObject::connect(list_, &QListWidget::itemSelectionChanged, list_,
                   [this] { selectionChanged(); });
  return list_;
}

std::size_t ResultSelectionControl::selectedCount() const {
  return list_ ? static_cast<std::size_t>(list_->selectedItems().size()) : 0;
}

void ResultSelectionControl::selectionChanged() {
  if (!selection_ || !list_) return;
  try {
    harvestor::Handled("ResultSelectionControl", "SelectionChanged", [&] {
      // Refilled whole, so the selection keeps the list's order.
      for (std::size_t row = 0; row < results_.size(); ++row) {
        if (selection_->HasKey(keyOf(row))) selection_->Remove(keyOf(row));
      }
      for (std::size_t row = 0; row < results_.size(); ++row) {
        if (list_->item(static_cast<int>(row))->isSelected())
          selection_->Add(results_[row], keyOf(row));
      }
      if (SelectionChanged) SelectionChanged();
    });
  } catch (const harvestor::HError&) {
    // Reported to the host on its way out.
  }
}

}  // namespace workstation::desktop
