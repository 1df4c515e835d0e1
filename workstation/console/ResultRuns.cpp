#include "workstation/console/ResultRuns.h"

#include <algorithm>

#include "harvestor/service/Text.h"

namespace workstation::console {

ResultRunPlan planResultRuns(const ResultRunShape& shape) {
  ResultRunPlan plan;
  const std::string selected = std::to_string(shape.selected) + " selected";
  if (shape.crv && shape.selected > kResultsPerRun) {
    plan.refusal = "more than " + std::to_string(kResultsPerRun) +
                   " results selected for one CRV set (" + selected +
                   "): its run counts one past the results it has taken in 16-bit counters, "
                   "which stop at " +
                   std::to_string(kSixteenBitLimit);
    return plan;
  }
  if (shape.sharedName && shape.selected > kSixteenBitLimit) {
    plan.refusal = "more than " + std::to_string(kSixteenBitLimit) +
                   " results selected for one fixed file name (" + selected +
                   "): conflict resolution numbers its files with a 16-bit counter, which "
                   "stops at " +
                   std::to_string(kSixteenBitLimit);
    return plan;
  }
  for (std::size_t first = 0; first < shape.selected; first += kResultsPerRun) {
    plan.runs.push_back({first, std::min(kResultsPerRun, shape.selected - first)});
  }
  return plan;
}

std::string overflowCause(const std::string& procedure) {
  const std::string limit = std::to_string(kSixteenBitLimit);
  if (procedure == "ResolveFileNames" || procedure == "ResolveFileNamesCRV") {
    return "more than " + limit +
           " numbered names of one file were found taken: conflict resolution counts them with "
           "a 16-bit counter, which stops at " +
           limit + "; give another file name or remove the numbered files";
  }
  return "a 16-bit counter of the export (in " + procedure + ") passed its limit of " + limit;
}

bool isFixedName(const std::string& outputTemplate) {
  return harvestor::LowerCase(outputTemplate).find("{result name}") == std::string::npos;
}

}  // namespace workstation::console
