#pragma once
// The common error handler. A procedure covered by it reports an escaping
// error once to the host's error reporter ("Harvestor", class or module,
// procedure, error, "", 0) and raises the same error on, so an error deep in
// a writer is reported at every level on its way up. Standard-library
// exceptions are turned into the classic error they stand for first.

#include <new>
#include <stdexcept>

#include "harvestor/service/HError.h"

namespace harvestor {

// Sends one report to the host's reporter; never throws.
void ReportToHost(const char* where, const char* procedure, const HError& error) noexcept;

// The classic error that a standard-library exception stands for.
HError TranslateException(const std::exception& e);

template <class Body>
decltype(auto) Handled(const char* where, const char* procedure, Body&& body) {
  try {
    return body();
  } catch (const HError& e) {
    ReportToHost(where, procedure, e);
    throw;
  } catch (const std::exception& e) {
    HError translated = TranslateException(e);
    ReportToHost(where, procedure, translated);
    throw translated;
  }
}

}  // namespace harvestor
