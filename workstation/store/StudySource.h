#pragma once
// What a loaded study still reads from its store after it was loaded: a
// sample's traces, when the sample is first asked for one, a study result's
// fragments, when they are asked for, and the study's current loci. Each engine's store hands out
// its own; a loaded study keeps its source (and so the store's connection) alive for as long as it
// lives.
//
// A study never changes once imported, so these later reads agree with the
// snapshot the study was loaded from.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace workstation {

struct StoredFragments;

class StudySource {
 public:
  virtual ~StudySource() = default;
  // The four dyes' scans of the sample with that id; a dye without a trace
  // is empty.
  virtual std::array<std::vector<float>, 4> traces(std::int64_t sampleId) = 0;
  // The distinct locus names of the study's fragments, in order of first
  // appearance, compared without regard to case.
  virtual std::vector<std::string> currentLoci() = 0;
  // The fragments of the study result at that index of the study's order.
  // They are read a window of results at a time, so a reader that goes
  // through the study in order holds one window, never the whole study; a
  // caller keeps what it was given for as long as it holds it.
  virtual std::shared_ptr<StoredFragments> fragments(std::size_t index) = 0;
};

}  // namespace workstation
