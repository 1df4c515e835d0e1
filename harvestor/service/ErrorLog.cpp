#include "harvestor/service/ErrorLog.h"

#include <memory>

#include "harvestor/service/ErrorHandler.h"

namespace harvestor::ErrorLog {
namespace {
std::unique_ptr<std::vector<std::string>> g_log;
}

void InitalizeExportLog() {
  Handled("ErrorLog", "InitalizeExportLog",
          [] { g_log = std::make_unique<std::vector<std::string>>(); });
}

void LogExportMsg(const std::string& message) {
  Handled("ErrorLog", "LogExportMsg", [&] {
    if (g_log) g_log->push_back(message);
  });
}

const std::vector<std::string>* Lines() { return g_log.get(); }

}  // namespace harvestor::ErrorLog
