// Feeds each input to the Linkage reader as the pedigree file (with two
// fixed loci) and as the locus list (with a fixed pedigree file). A file
// refused with ImportError is a good outcome; anything else that escapes, or
// a sanitizer report, is a fault.

#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/ScratchFile.h"
#include "workstation/store/LinkageReader.h"
#include "workstation/store/TsvTable.h"

namespace {

using harvestor_fuzz::ScratchFile;

const std::string& Fixed(const char* name, const std::string& content) {
  static const ScratchFile loci("loci.txt"), pedigree("fixed.pre");
  const ScratchFile& file = std::string(name) == "loci" ? loci : pedigree;
  return file.Write(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
}

void Read(const std::string& pedigree, const std::string& loci) {
  try {
    const workstation::LinkageReader reader(pedigree, loci);
    reader.read([](const workstation::ImportedResult&) {});
  } catch (const workstation::ImportError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFile input("input");
  static const std::string& loci = Fixed("loci", "D1\r\nD2\r\n");
  static const std::string& pedigree = Fixed("pedigree", "F1 S1 ? ? 1 2 0 12 14 9 9\r\n");
  const std::string& path = input.Write(data, size);
  Read(path, loci);
  Read(pedigree, path);
  return 0;
}
