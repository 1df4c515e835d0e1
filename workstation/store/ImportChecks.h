#pragma once
// The checks every imported value passes, shared by the table and native
// result readers: numbers within the type the component reads them as, and
// text free of control characters and valid as UTF-8. Each check returns the
// cause of a refusal, or an empty text when the value is acceptable; the
// reader adds where the value stands.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace workstation {

// The highest scan index a trace may have: a trace holds at most this many
// scans plus one. Instrument traces run to some tens of thousands of scans.
constexpr std::int64_t kMaxScanIndex = 999'999;

// A finite number in decimal notation (blanks around it and a leading '+'
// allowed).
std::string numberFault(std::string_view text, double& value);
// A finite number within single precision's range.
std::string singleFault(std::string_view text, float& value);
// A whole number from min to max.
std::string wholeFault(std::string_view text, std::int64_t min, std::int64_t max,
                       std::int64_t& value);

struct TextFault {
  std::size_t offset = 0;  // of the offending byte within the text
  std::string cause;       // empty when the text is acceptable
};

// Text with no control character (C0 codes and DEL) and valid UTF-8.
// `lineBreaks` lets tab, CR and LF through, for free text that may hold them.
TextFault textFault(std::string_view text, bool lineBreaks = false);

}  // namespace workstation
