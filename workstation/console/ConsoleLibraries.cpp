#include "workstation/console/ConsoleLibraries.h"

#include "harvestor/service/HError.h"
#include "harvestor/service/HostObjects.h"
#include "workstation/store/CRVTraceWriter.h"
#include "workstation/store/CurrentLociLoader.h"
#include "workstation/store/ResultFileExporter.h"
#include "workstation/store/StoredStudy.h"

namespace workstation::console {

void ConsoleSelectionControl::InitSelection(const std::string& selectionType,
                                            const harvestor::ResultCollection& selection) {
  type_ = selectionType;
  selection_ = selection;
}

void ConsoleSelectionControl::select(
    const std::vector<std::shared_ptr<harvestor::IResult>>& results) {
  if (!selection_) harvestor::RaiseError(harvestor::ErrNo::ObjectNotSet);
  for (const auto& result : results) selection_->Add(result);
  if (SelectionChanged) SelectionChanged();
}

std::shared_ptr<harvestor::IResultFileExporter> ConsoleLibraries::CreateResultFileExporter() {
  return std::make_shared<ResultFileExporter>();
}

std::shared_ptr<harvestor::ICRVTraceWriter> ConsoleLibraries::CreateCRVTraceWriter() {
  return std::make_shared<CRVTraceWriter>();
}

std::shared_ptr<harvestor::ICommonDialog> ConsoleLibraries::CreateCommonDialog() {
  return std::make_shared<ConsoleDialog>();
}

std::shared_ptr<harvestor::ISelectionControl> ConsoleLibraries::CreateSelectionControl() {
  return std::make_shared<ConsoleSelectionControl>();
}

std::shared_ptr<harvestor::ILociLoader> ConsoleLibraries::CreateLociLoader() {
  return std::make_shared<CurrentLociLoader>(std::dynamic_pointer_cast<StoredStudy>(
      harvestor::HostObjects::StudyService().CurrentStudy()));
}

}  // namespace workstation::console
