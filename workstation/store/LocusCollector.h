#pragma once
// Collects locus names in order of first appearance, without regard to case
// and without empty names: the one rule for a study's current loci, whichever
// store the fragments come from. Fed once per fragment, so a name already
// seen as written costs one hash lookup.

#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace workstation {

class LocusCollector {
 public:
  void add(std::string_view locus);
  std::vector<std::string> take() { return std::move(loci_); }

 private:
  struct Hash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
  };
  using Set = std::unordered_set<std::string, Hash, std::equal_to<>>;
  std::vector<std::string> loci_;
  Set asWritten_;  // every spelling met
  Set folded_;     // lower-cased
};

}  // namespace workstation
