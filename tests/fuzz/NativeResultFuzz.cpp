// Feeds each input to the native result reader.

#include <cstddef>
#include <cstdint>

#include "tests/fuzz/ScratchFile.h"
#include "workstation/store/NativeResultFile.h"
#include "workstation/store/TsvTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const harvestor_fuzz::ScratchFile input("result.zlu");
  harvestor_fuzz::Tolerating<workstation::ImportError>(
      [&] { (void)workstation::readNativeResult(input.Write(data, size)); });
  return 0;
}
