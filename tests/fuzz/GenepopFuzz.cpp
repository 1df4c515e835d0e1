// Feeds each input to the Genepop reader as the Genepop file, alone and with
// a fixed populations table, and as the populations table of a fixed Genepop
// file.

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "tests/fuzz/ScratchFile.h"
#include "workstation/store/GenepopReader.h"
#include "workstation/store/TsvTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using harvestor_fuzz::ScratchFile;
  static const ScratchFile input("input"), genepopFile("fixed.gen"), tableFile("pops.tsv");
  static const std::string genepop =
      genepopFile.Write("t\nL1, L2\npop\na , 0101 0102\npop\nb , 0000 0202\n");
  static const std::string table = tableFile.Write("Subject ID\tPopulation ID\na\tNorth\n");
  const std::string& path = input.Write(data, size);
  for (const auto& files :
       {std::pair(path, std::string()), std::pair(path, table), std::pair(genepop, path)}) {
    harvestor_fuzz::Tolerating<workstation::ImportError>(
        [&] { workstation::GenepopReader(files.first, files.second).read([](const auto&) {}); });
  }
  return 0;
}
