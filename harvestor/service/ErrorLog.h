#pragma once
// The export log: one list of lines for the whole loaded component, started
// afresh by each export run and only appended to. A line is kept exactly as
// logged. Before the first InitalizeExportLog there is no log and lines are
// dropped.

#include <string>
#include <vector>

namespace harvestor::ErrorLog {

void InitalizeExportLog();
void LogExportMsg(const std::string& message);

// The current log, or null before the first InitalizeExportLog. Callers may
// keep an index into it: lines are never changed or removed, only a new log
// replaces it.
const std::vector<std::string>* Lines();
// Counts the logs started so far, so a viewer can tell a new log from the one it showed.
unsigned long Generation();

}  // namespace harvestor::ErrorLog
