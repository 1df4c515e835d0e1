#include "harvestor/service/ErrorHandler.h"

#include "harvestor/service/HostObjects.h"

namespace harvestor {

void ReportToHost(const char* where, const char* procedure, const HError& error) noexcept {
  try {
    if (IHostUtility* utility = HostObjects::Utility()) {
      utility->ReportError("Harvestor", where, procedure, error, "", 0);
    }
  } catch (...) {
    // A reporter that fails must not hide the error being reported.
  }
}

HError TranslateException(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) {
    return HError(ErrNo::OutOfMemory, "Harvestor", StandardDescription(ErrNo::OutOfMemory));
  }
  if (dynamic_cast<const std::out_of_range*>(&e) != nullptr) {
    return HError(ErrNo::SubscriptOutOfRange, "Harvestor", e.what());
  }
  return HError(ErrNo::InvalidProcedureCall, "Harvestor", e.what());
}

}  // namespace harvestor
