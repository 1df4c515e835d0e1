#pragma once
// Wall-clock seconds since a point, for the benchmarks' figures.

#include <chrono>

namespace harvestor::bench {

using Clock = std::chrono::steady_clock;

inline double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

}  // namespace harvestor::bench
