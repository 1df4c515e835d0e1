#pragma once
// Recording fakes of the host's libraries: a result file exporter that
// answers a scripted status and writes a small file for status 1, a CRV
// trace writer that records its calls, common dialogs scripted like the
// shared one, and a selection control a test fills.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/HostLibraries.h"
#include "tests/fakes/FakeHost.h"

namespace harvestor::testing {

class FakeLibraries : public IHostLibraries {
 public:
  std::shared_ptr<IResultFileExporter> CreateResultFileExporter() override;
  std::shared_ptr<ICRVTraceWriter> CreateCRVTraceWriter() override;
  std::shared_ptr<ICommonDialog> CreateCommonDialog() override;
  std::shared_ptr<ISelectionControl> CreateSelectionControl() override;
  std::shared_ptr<ILociLoader> CreateLociLoader() override;
  std::vector<std::string> studyLoci;  // what the "CurrentLoci" query answers
  std::vector<std::string> queries;    // each query, its arguments joined by "|"

  // Every call made on the exporters and writers, in order:
  // "Options HEADER=1,...", "Flags 0", "Format 1", "Output PATH", "Export",
  // "SetOutputFile PATH", "AddResult NAME", "WriteFiles".
  std::vector<std::string> calls;
  // Status of each ExportSample in turn (1 when the list runs out).
  std::vector<std::int32_t> statuses;
  std::function<void()> duringExport;  // runs inside each ExportSample
  std::vector<std::shared_ptr<FakeCommonDialog>> dialogs;
  std::function<void(FakeCommonDialog&)> onDialogShow;
  struct Selection : ISelectionControl {
    void InitSelection(const std::string& type, const ResultCollection& selection) override;
    void Select(const std::shared_ptr<IResult>& result);
    void Clear();
    std::string type;
    ResultCollection collection;
  };
  std::vector<std::shared_ptr<Selection>> selections;
  int exports = 0;
};

}  // namespace harvestor::testing
