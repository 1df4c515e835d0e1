#include "harvestor/service/ErrorLog.h"

#include <memory>

#include "harvestor/service/ErrorHandler.h"

namespace harvestor::ErrorLog {
namespace {
std::unique_ptr<std::vector<std::string>> g_log;
unsigned long g_generation = 0;
}

void InitalizeExportLog() {
  Handled("ErrorLog", "InitalizeExportLog",
          [] {
            g_log = std::make_unique<std::vector<std::string>>();
            ++g_generation;
          });
}

void LogExportMsg(const std::string& message) {
  Handled("ErrorLog", "LogExportMsg", [&] {
    if (g_log) g_log->push_back(message);
  });
}

const std::vector<std::string>* Lines() { return g_log.get(); }

unsigned long Generation() { return g_generation; }

}  // namespace harvestor::ErrorLog
