// Feeds each input to the Linkage reader as the pedigree file (with two
// fixed loci) and as the locus list (with a fixed pedigree file). An
// ImportError is a good outcome; anything else that escapes, or a sanitizer
// report, is a fault.

#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/ScratchFile.h"
#include "workstation/store/LinkageReader.h"
#include "workstation/store/TsvTable.h"

namespace {

void Read(const std::string& pedigree, const std::string& loci) {
  harvestor_fuzz::Tolerating<workstation::ImportError>([&] {
    workstation::LinkageReader(pedigree, loci).read([](const workstation::ImportedResult&) {});
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using harvestor_fuzz::ScratchFile;
  static const ScratchFile input("input"), lociFile("loci.txt"), pedigreeFile("fixed.pre");
  static const std::string loci = lociFile.Write("D1\r\nD2\r\n");
  static const std::string pedigree = pedigreeFile.Write("F1 S1 ? ? 1 2 0 12 14 9 9\r\n");
  const std::string& path = input.Write(data, size);
  Read(path, loci);
  Read(pedigree, path);
  return 0;
}
