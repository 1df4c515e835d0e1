#pragma once
// The export log: one list of lines for the whole loaded component, started
// afresh by each export run and only appended to. A line is kept exactly as
// logged. Before the first InitalizeExportLog there is no log and lines are
// dropped.

#include <memory>
#include <string>

#include "harvestor/service/LineArena.h"

namespace harvestor::ErrorLog {

void InitalizeExportLog();
void LogExportMsg(const std::string& message);

// The current log, or null before the first InitalizeExportLog. Callers may
// keep an index into it: lines are never changed or removed, only a new log
// replaces it.
const LineArena* Lines();
// The current log, shared: a reader that holds it keeps reading the lines it
// showed after a new log has replaced it.
std::shared_ptr<const LineArena> Shared();

}  // namespace harvestor::ErrorLog
