#pragma once
// The objects the component creates from the desktop workstation's
// libraries: the store's result file exporter, CRV trace writer and loci
// loader (as the console makes them), a QFileDialog common dialog and the
// result list selection control.

#include "harvestor/service/HostLibraries.h"
#include "workstation/console/ConsoleLibraries.h"

class QWidget;

namespace workstation::desktop {

class DesktopLibraries final : public harvestor::IHostLibraries {
 public:
  void setOwner(QWidget* owner) { owner_ = owner; }
  std::shared_ptr<harvestor::IResultFileExporter> CreateResultFileExporter() override {
    return console_.CreateResultFileExporter();
  }
  std::shared_ptr<harvestor::ICRVTraceWriter> CreateCRVTraceWriter() override {
    return console_.CreateCRVTraceWriter();
  }
  std::shared_ptr<harvestor::ICommonDialog> CreateCommonDialog() override;
  std::shared_ptr<harvestor::ISelectionControl> CreateSelectionControl() override;
  std::shared_ptr<harvestor::ILociLoader> CreateLociLoader() override {
    return console_.CreateLociLoader();
  }

 private:
  console::ConsoleLibraries console_;
  QWidget* owner_ = nullptr;
};

}  // namespace workstation::desktop
