// Splits each input as the locus list file's content. The split never fails;
// its entries hold no CR, every other byte of the input is the CR or CR LF
// that ended an entry, and a text without CR is one entry as it stands.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "harvestor/genotype/LocusListFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string content(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> entries = harvestor::LocusListFile::SplitLines(content);
  std::size_t used = 0;
  for (const std::string& entry : entries) {
    if (entry.find('\r') != std::string::npos) std::abort();
    used += entry.size();
  }
  if (used > size) std::abort();
  const std::size_t ends = size - used;
  if (ends + 1 < entries.size() || ends > 2 * entries.size()) std::abort();
  if (content.find('\r') == std::string::npos && !content.empty() &&
      (entries.size() != 1 || entries[0] != content)) {
    std::abort();
  }
  return 0;
}
