#include "harvestor/service/Int16.h"

#include <cmath>

#include "harvestor/service/HError.h"

namespace harvestor {

Int16 ToInt16(std::int64_t value) {
  if (value < INT16_MIN || value > INT16_MAX) RaiseError(ErrNo::Overflow);
  return static_cast<Int16>(value);
}

Int16 RoundToInt16(double value) {
  if (std::isnan(value)) RaiseError(ErrNo::Overflow);
  const double rounded = std::nearbyint(value);  // the default mode rounds half to even
  if (rounded < INT16_MIN || rounded > INT16_MAX) RaiseError(ErrNo::Overflow);
  return static_cast<Int16>(rounded);
}

}  // namespace harvestor
