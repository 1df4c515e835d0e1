#include "workstation/desktop/ExportLogLines.h"

#include "harvestor/service/ErrorLog.h"

namespace workstation::desktop::ExportLogLines {

std::size_t count() {
  const auto* lines = harvestor::ErrorLog::Lines();
  return lines ? lines->size() : 0;
}

std::string_view line(std::size_t index) {
  const auto* lines = harvestor::ErrorLog::Lines();
  return lines && index < lines->size() ? std::string_view((*lines)[index]) : std::string_view();
}

unsigned long generation() { return harvestor::ErrorLog::Generation(); }

}  // namespace workstation::desktop::ExportLogLines
