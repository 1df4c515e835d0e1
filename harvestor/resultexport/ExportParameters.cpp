#include "harvestor/resultexport/ExportParameters.h"

#include "harvestor/service/ErrorHandler.h"

namespace harvestor {

ExportParameters::ExportParameters() {
  Handled("ExportParameters", "Class_Initialize",
          [&] { colSelectedResults = NewCollection<std::shared_ptr<IResult>>(); });
}

std::shared_ptr<ExportParameters> ParametersOf(const PageBase& base) {
  return std::any_cast<std::shared_ptr<ExportParameters>>(base.Parameter());
}

}  // namespace harvestor
