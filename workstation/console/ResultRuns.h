#pragma once
// How the console hands a large selection to the result export. The status
// page counts a run's results, and the number of the file it is writing, in
// 16-bit counters: a run of n results counts up to n + 1, so a run takes at
// most 32766 results before its counter passes 32767 (error 6). The console
// therefore runs the export once per group of at most that many results, in
// the selection's order, each group a whole run of its own with its own
// export log. Where groups cannot help, the export is refused before anything
// is written: one CRV set is written by one run, and a fixed file name with
// conflict resolution is numbered by a 16-bit counter across every run.

#include <cstddef>
#include <string>
#include <vector>

namespace workstation::console {

// The limit of the component's 16-bit counters.
inline constexpr std::size_t kSixteenBitLimit = 32767;
// The most results one run of the status page can take.
inline constexpr std::size_t kResultsPerRun = kSixteenBitLimit - 1;

struct ResultRun {
  std::size_t first = 0;  // position in the selection, 0-based
  std::size_t count = 0;
};

struct ResultRunPlan {
  std::vector<ResultRun> runs;  // in selection order; empty when refused
  std::string refusal;          // why nothing may be written, naming the limit and the count
};

struct ResultRunShape {
  std::size_t selected = 0;
  bool crv = false;         // one CRV set for every result
  bool sharedName = false;  // a template without {Result Name}, conflicts resolved
};

ResultRunPlan planResultRuns(const ResultRunShape& shape);

// What was too many when a result export stopped on an overflow (error 6)
// first raised in the procedure named, with the limit.
std::string overflowCause(const std::string& procedure);

// Whether a template names every result's file alike (no {Result Name}).
bool isFixedName(const std::string& outputTemplate);

}  // namespace workstation::console
