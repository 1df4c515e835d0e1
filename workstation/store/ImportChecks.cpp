#include "workstation/store/ImportChecks.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace workstation {
namespace {

enum class Parsed { Number, NotANumber, OutOfRange };

// A plain decimal, an optional minus, digits and perhaps a point and more
// digits, of at most 15 digits in all: the cells of nearly every table. Such
// a number is an exact integer over an exact power of ten, and the one
// division rounds correctly, so the value is the one from_chars gives.
bool plainDecimal(std::string_view text, double& value) {
  static constexpr double kPowers[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
  const bool negative = !text.empty() && text.front() == '-';
  std::size_t i = negative ? 1 : 0, digits = 0, point = 0;
  std::uint64_t whole = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
      ++digits;
    } else if (c == '.' && point == 0 && digits > 0 && i + 1 < text.size()) {
      point = digits;
    } else {
      return false;
    }
  }
  if (digits == 0 || digits > 15) return false;
  const double magnitude = static_cast<double>(whole) / kPowers[point == 0 ? 0 : digits - point];
  value = negative ? -magnitude : magnitude;
  return true;
}

Parsed parseDecimal(std::string_view text, double& value) {
  if (plainDecimal(text, value)) return Parsed::Number;
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  std::string_view body = text.substr(begin, end - begin);
  if (!body.empty() && body.front() == '+') body.remove_prefix(1);
  if (body.empty()) return Parsed::NotANumber;
  const auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ptr != body.data() + body.size()) return Parsed::NotANumber;
  if (ec == std::errc::result_out_of_range) return Parsed::OutOfRange;
  return ec == std::errc() ? Parsed::Number : Parsed::NotANumber;
}

std::string quoted(std::string_view text) {
  // A long cell is cut at a character boundary to keep the message short.
  std::size_t cut = text.size() > 40 ? 40 : text.size();
  while (cut > 0 && cut < text.size() && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
    --cut;
  }
  std::string out = "'";
  for (char c : text.substr(0, cut)) out += (static_cast<unsigned char>(c) < 0x20 ? '?' : c);
  return out + (cut < text.size() ? "...'" : "'");
}

const char* const kC0Names[] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                "BS",  "TAB", "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

std::string hexByte(unsigned char c) {
  char buf[8];
  std::snprintf(buf, sizeof buf, "0x%02X", c);
  return buf;
}

// Length of the UTF-8 sequence starting at text[i], or 0 when it is not a
// well-formed one (overlong forms, surrogates and code points beyond
// U+10FFFF are not).
std::size_t sequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char lead = byte(i);
  std::size_t length = 0;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (i + length > text.size()) return 0;
  if (byte(i + 1) < low || byte(i + 1) > high) return 0;
  for (std::size_t k = 2; k < length; ++k) {
    if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) return 0;
  }
  return length;
}

}  // namespace

std::string numberFault(std::string_view text, double& value) {
  switch (parseDecimal(text, value)) {
    case Parsed::NotANumber:
      return quoted(text) + " is not a number";
    case Parsed::OutOfRange:
      return quoted(text) + " is out of range";
    case Parsed::Number:
      break;
  }
  if (!std::isfinite(value)) return quoted(text) + " is not a finite number";
  return "";
}

std::string singleFault(std::string_view text, float& value) {
  double wide = 0;
  std::string fault = numberFault(text, wide);
  if (!fault.empty()) return fault;
  if (std::fabs(wide) > static_cast<double>(std::numeric_limits<float>::max())) {
    return quoted(text) + " is beyond single precision (at most 3.4e38 either side of 0)";
  }
  value = static_cast<float>(wide);
  return "";
}

std::string wholeFault(std::string_view text, std::int64_t min, std::int64_t max,
                       std::int64_t& value) {
  double wide = 0;
  const bool number = numberFault(text, wide).empty();
  if (!number || wide != std::floor(wide) || wide < static_cast<double>(min) ||
      wide > static_cast<double>(max)) {
    return quoted(text) + " is not a whole number from " + std::to_string(min) + " to " +
           std::to_string(max);
  }
  value = static_cast<std::int64_t>(wide);
  return "";
}

TextFault textFault(std::string_view text, bool lineBreaks) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F) {
      if (lineBreaks && (c == '\t' || c == '\r' || c == '\n')) {
        ++i;
        continue;
      }
      return {i,
              "control character " + hexByte(c) + " (" + (c == 0x7F ? "DEL" : kC0Names[c]) + ")"};
    }
    if (c < 0x80) {
      ++i;
      continue;
    }
    const std::size_t length = sequenceLength(text, i);
    if (length == 0) return {i, "byte " + hexByte(c) + " that is not valid UTF-8"};
    i += length;
  }
  return {};
}

}  // namespace workstation
