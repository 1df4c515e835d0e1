#include "harvestor/service/ErrorLog.h"

#include "harvestor/service/ErrorHandler.h"

namespace harvestor::ErrorLog {
namespace {
std::shared_ptr<LineArena> g_log;
}

void InitalizeExportLog() {
  Handled("ErrorLog", "InitalizeExportLog", [] { g_log = std::make_shared<LineArena>(); });
}

void LogExportMsg(const std::string& message) {
  Handled("ErrorLog", "LogExportMsg", [&] {
    if (g_log) g_log->Append(message);
  });
}

const LineArena* Lines() { return g_log.get(); }

std::shared_ptr<const LineArena> Shared() { return g_log; }

}  // namespace harvestor::ErrorLog
