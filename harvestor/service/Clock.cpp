#include "harvestor/service/Clock.h"

#include <cstdio>
#include <ctime>

namespace harvestor {

LocalDateTime SystemClock::Now() const {
  const std::time_t now = std::time(nullptr);
  std::tm tm{};
  localtime_r(&now, &tm);
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

std::string FormatGeneralDate(const LocalDateTime& t) {
  char buf[64];
  const int written = std::snprintf(buf, sizeof buf, "%d/%d/%d", t.Month, t.Day, t.Year);
  std::string out(buf, static_cast<std::size_t>(written));
  if (t.Hour == 0 && t.Minute == 0 && t.Second == 0) return out;
  const int hour12 = t.Hour % 12 == 0 ? 12 : t.Hour % 12;
  std::snprintf(buf, sizeof buf, " %d:%02d:%02d %s", hour12, t.Minute, t.Second,
                t.Hour < 12 ? "AM" : "PM");
  return out + buf;
}

}  // namespace harvestor
