#include "workstation/console/ResultRuns.h"

#include <algorithm>

#include "harvestor/service/Text.h"

namespace workstation::console {

namespace {

// "more than LIMIT results selected for WHAT (N selected): WHY 32767"
std::string refusal(std::size_t limit, const char* what, std::size_t selected, const char* why) {
  return "more than " + std::to_string(limit) + " results selected for " + what + " (" +
         std::to_string(selected) + " selected): " + why + " " + std::to_string(kSixteenBitLimit);
}

}  // namespace

ResultRunPlan planResultRuns(const ResultRunShape& shape) {
  ResultRunPlan plan;
  if (shape.crv && shape.selected > kResultsPerRun) {
    plan.refusal = refusal(
        kResultsPerRun, "one CRV set", shape.selected,
        "its run counts one past the results it has taken in 16-bit counters, which stop at");
    return plan;
  }
  if (shape.sharedName && shape.selected > kSixteenBitLimit) {
    plan.refusal =
        refusal(kSixteenBitLimit, "one fixed file name", shape.selected,
                "conflict resolution numbers its files with a 16-bit counter, which stops at");
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
