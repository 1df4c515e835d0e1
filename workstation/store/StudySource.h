#pragma once
// What a loaded study still reads from its store after it was loaded: a
// sample's traces, when the sample is first asked for one, and the study's
// current loci. Each engine's store hands out its own; a loaded study keeps
// its source (and so the store's connection) alive for as long as it lives.
//
// A study never changes once imported, so these later reads agree with the
// snapshot the study was loaded from.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace workstation {

class StudySource {
 public:
  virtual ~StudySource() = default;
  // The four dyes' scans of the sample with that id; a dye without a trace
  // is empty.
  virtual std::array<std::vector<float>, 4> traces(std::int64_t sampleId) = 0;
  // The distinct locus names of the study's fragments, in order of first
  // appearance, compared without regard to case.
  virtual std::vector<std::string> currentLoci() = 0;
};

}  // namespace workstation
