// How the export log grows: N lines (default 10,000,000; give N as the
// argument) of the length a study export logs are added, and the time each
// million takes is printed, with the memory a line costs beyond its bytes.
// Adding a line should cost the same at the last million as at the first.
#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/Stopwatch.h"
#include "harvestor/service/ErrorLog.h"

using harvestor::bench::Clock;
using harvestor::bench::Seconds;

namespace {

long PeakKiB() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  const long lines = argc > 1 ? std::atol(argv[1]) : 10'000'000;
  const long before = PeakKiB();
  harvestor::ErrorLog::InitalizeExportLog();
  std::string line;
  auto t = Clock::now();
  const auto start = t;
  for (long i = 0; i < lines; ++i) {
    line = "Processing locus: D" + std::to_string(i % 50) + "S1179 for Subject: F" +
           std::to_string(i / 50);
    harvestor::ErrorLog::LogExportMsg(line);
    if ((i + 1) % 1'000'000 == 0) {
      std::printf("  lines %9ld: %6.1f ns a line over the last million\n", i + 1, Seconds(t) * 1e3);
      t = Clock::now();
    }
  }
  const double total = Seconds(start);
  const harvestor::LineArena& log = *harvestor::ErrorLog::Lines();
  const double bytes = static_cast<double>(log.Bytes()) / static_cast<double>(log.Count());
  const double peak = static_cast<double>(PeakKiB() - before) * 1024.0 / static_cast<double>(lines);
  std::printf("export log, %ld lines in %.2f s (%.1f ns a line)\n", lines, total,
              total * 1e9 / static_cast<double>(lines));
  std::printf("  %.1f bytes of text a line, %.1f bytes a line at the peak of memory\n", bytes,
              peak);
  return 0;
}
