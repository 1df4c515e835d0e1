#pragma once
// The objects the component creates from the console workstation's
// libraries: the study database's result file exporter and CRV trace writer,
// a common dialog answered from the command's options, and a selection
// control that the command fills.

#include <memory>
#include <vector>

#include "harvestor/service/HostLibraries.h"
#include "workstation/console/ConsoleDialog.h"

namespace workstation::console {

class ConsoleSelectionControl final : public harvestor::ISelectionControl {
 public:
  void InitSelection(const std::string& selectionType,
                     const harvestor::ResultCollection& selection) override;
  // Adds the results to the selection, as a user ticking them would.
  void select(const std::vector<std::shared_ptr<harvestor::IResult>>& results);
  const std::string& selectionType() const { return type_; }

 private:
  std::string type_;
  harvestor::ResultCollection selection_;
};

class ConsoleLibraries final : public harvestor::IHostLibraries {
 public:
  std::shared_ptr<harvestor::IResultFileExporter> CreateResultFileExporter() override;
  std::shared_ptr<harvestor::ICRVTraceWriter> CreateCRVTraceWriter() override;
  std::shared_ptr<harvestor::ICommonDialog> CreateCommonDialog() override;
  std::shared_ptr<harvestor::ISelectionControl> CreateSelectionControl() override;
  // Answers for the study the host's study service has open.
  std::shared_ptr<harvestor::ILociLoader> CreateLociLoader() override;
};

}  // namespace workstation::console
