#pragma once
// The component's one source of the current time, injected so that dated
// lines (the debug file's "Created: ") are deterministic under test.

#include <string>

namespace harvestor {

struct LocalDateTime {
  int Year = 1899, Month = 12, Day = 30;
  int Hour = 0, Minute = 0, Second = 0;
};

class IClock {
 public:
  virtual ~IClock() = default;
  virtual LocalDateTime Now() const = 0;
};

class SystemClock final : public IClock {
 public:
  LocalDateTime Now() const override;
};

// The general date format: 12/5/2026 10:11:22 PM; a time of exactly midnight
// is left out, as the classic format does.
std::string FormatGeneralDate(const LocalDateTime& t);

}  // namespace harvestor
