// Feeds each input to the Linkage reader as the pedigree file (with two fixed
// loci) and as the locus list (with a fixed pedigree file).

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "tests/fuzz/ScratchFile.h"
#include "workstation/store/LinkageReader.h"
#include "workstation/store/TsvTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using harvestor_fuzz::ScratchFile;
  static const ScratchFile input("input"), lociFile("loci.txt"), pedigreeFile("fixed.pre");
  static const std::string loci = lociFile.Write("D1\r\nD2\r\n");
  static const std::string pedigree = pedigreeFile.Write("F1 S1 ? ? 1 2 0 12 14 9 9\r\n");
  const std::string& path = input.Write(data, size);
  for (const auto& files : {std::pair(path, loci), std::pair(pedigree, path)}) {
    harvestor_fuzz::Tolerating<workstation::ImportError>(
        [&] { workstation::LinkageReader(files.first, files.second).read([](const auto&) {}); });
  }
  return 0;
}
