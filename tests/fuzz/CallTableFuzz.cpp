// Feeds each input to the allele-call table reader.

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/ScratchFile.h"
#include "workstation/store/CallTableReader.h"
#include "workstation/store/TsvTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const harvestor_fuzz::ScratchFile input("calls.txt");
  harvestor_fuzz::Tolerating<workstation::ImportError>(
      [&] { workstation::CallTableReader(input.Write(data, size)).read([](const auto&) {}); });
  return 0;
}
