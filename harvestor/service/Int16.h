#pragma once
// Checked 16-bit counters and lengths: a value past the signed 16-bit range
// raises error 6 (overflow), as the component's counters always have.

#include <cstdint>

namespace harvestor {

using Int16 = std::int16_t;

// Converts a count or length to 16 bits; outside -32768..32767 raises error 6.
Int16 ToInt16(std::int64_t value);

// Rounds half to even and converts to 16 bits; out of range raises error 6.
Int16 RoundToInt16(double value);

}  // namespace harvestor
