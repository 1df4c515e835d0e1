#pragma once
// The desktop's selection control: the open study's results in a list with
// multiple selection. The results the user selects are kept, in the list's
// order, in the collection the page gave, filled in place.

#include <QListWidget>
#include <QPointer>

#include "harvestor/service/HostLibraries.h"

namespace workstation::desktop {

class ResultSelectionControl final : public harvestor::ISelectionControl {
 public:
  void InitSelection(const std::string& selectionType,
                     const harvestor::ResultCollection& selection) override;
  // The list, made on first use with the open study's results.
  QListWidget* widget(QWidget* parent);
  // How many results the user has selected.
  std::size_t selectedCount() const;

 private:
  void selectionChanged();
  std::string type_;
  harvestor::ResultCollection selection_;
  std::vector<std::shared_ptr<harvestor::IResult>> results_;
  QPointer<QListWidget> list_;
};

}  // namespace workstation::desktop
