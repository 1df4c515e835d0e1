#pragma once
// The result file formats the fragment-analysis library knows; the result
// export offers three of them (text, native, CRV).

#include <cstdint>

namespace harvestor {

enum enumFormatTypes : std::int32_t {
  TAB_DELIMITED = 1,
  SCF_V210 = 4,
  SCF_V300 = 5,
  ZAL_BASE = 6,
  ESD = 12,
  ABI = 13,
  CRV = 14,
};

}  // namespace harvestor
