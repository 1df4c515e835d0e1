#include "harvestor/resultexport/ExportParameters.h"

#include "harvestor/service/ErrorHandler.h"

namespace harvestor {

ExportParameters::ExportParameters() {
  Handled("ExportParameters", "Class_Initialize",
          [&] { colSelectedResults = NewCollection<std::shared_ptr<IResult>>(); });
}

}  // namespace harvestor
