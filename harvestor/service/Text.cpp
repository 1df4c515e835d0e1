#include "harvestor/service/Text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "harvestor/service/CaseFold.h"
#include "harvestor/service/Utf8.h"

namespace harvestor {

char FoldCase(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

std::string LowerCase(std::string_view text) { return CaseFold::Folded(text); }

namespace {

// The length of the leading run of ASCII bytes, which fold one by one
// without decoding.
std::size_t AsciiPrefix(std::string_view text) {
  std::size_t n = 0;
  while (n < text.size() && static_cast<unsigned char>(text[n]) < 0x80) ++n;
  return n;
}

}  // namespace

bool EqualsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;  // folding keeps the length
  // Both texts fold byte by byte up to the first byte that is not ASCII in
  // either; from there on (a character boundary in both) they are decoded.
  std::size_t i = 0;
  for (; i < a.size(); ++i) {
    const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if ((ca | cb) >= 0x80) break;
    if (ca != cb && FoldCase(static_cast<char>(ca)) != FoldCase(static_cast<char>(cb)))
      return false;
  }
  if (i == a.size()) return true;
  a.remove_prefix(i);
  b.remove_prefix(i);
  CaseFold::FoldedBytes x(a), y(b);
  for (unsigned char ca, cb; x.Next(ca) && y.Next(cb);) {
    if (ca != cb) return false;
  }
  return true;
}

bool LessNoCase(std::string_view a, std::string_view b) {
  const std::size_t common = std::min(a.size(), b.size());
  std::size_t i = 0;
  for (; i < common; ++i) {
    const auto ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if ((ca | cb) >= 0x80) break;
    const auto fa = static_cast<unsigned char>(FoldCase(static_cast<char>(ca)));
    const auto fb = static_cast<unsigned char>(FoldCase(static_cast<char>(cb)));
    if (fa != fb) return fa < fb;
  }
  a.remove_prefix(i);
  b.remove_prefix(i);
  CaseFold::FoldedBytes x(a), y(b);
  while (true) {
    unsigned char ca = 0, cb = 0;
    const bool moreA = x.Next(ca);
    const bool moreB = y.Next(cb);
    if (!moreA || !moreB) return moreB;
    if (ca != cb) return ca < cb;
  }
}

std::size_t HashNoCase(std::string_view text) {
  std::size_t h = 1469598103934665603ull;
  const std::size_t ascii = AsciiPrefix(text);
  for (std::size_t i = 0; i < ascii; ++i) {
    h = (h ^ static_cast<unsigned char>(FoldCase(text[i]))) * 1099511628211ull;
  }
  CaseFold::FoldedBytes folded(text.substr(ascii));
  for (unsigned char c; folded.Next(c);) h = (h ^ c) * 1099511628211ull;
  return h;
}

std::string TrimTrailingBlanks(std::string_view text) {
  std::size_t end = text.size();
  while (end > 0 && text[end - 1] == ' ') --end;
  return std::string(text.substr(0, end));
}

std::string FormatNumber(double value) {
  if (value == 0) return "0";
  if (std::floor(value) == value && std::fabs(value) < 1e15) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.0f", value);
    return buf;
  }
  for (int precision = 1; precision <= 15; ++precision) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*g", precision, value);
    if (precision == 15 || std::strtod(buf, nullptr) == value) return buf;
  }
  return "";
}

std::string FormatSignificant(double value, int digits) {
  std::string text;
  AppendSignificant(text, value, digits);
  return text;
}

void AppendSignificant(std::string& text, double value, int digits) {
  // to_chars with a precision writes what printf's %.*g writes, without the
  // locale and the format string's parsing.
  char buf[64];
  const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, digits);
  if (end.ec == std::errc()) {
    text.append(buf, end.ptr);
    return;
  }
  const int n = std::snprintf(buf, sizeof buf, "%.*g", digits, value);
  text.append(buf, static_cast<std::size_t>(std::max(n, 0)));
}

std::optional<double> ParseNumber(std::string_view text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  if (begin == end) return 0.0;
  std::string_view body = text.substr(begin, end - begin);
  if (body.front() == '+') body.remove_prefix(1);
  double value = 0;
  const auto [ptr, ec] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (ec != std::errc() || ptr != body.data() + body.size()) return std::nullopt;
  return value;
}

std::string Left(std::string_view text, std::size_t n) {
  return std::string(text.substr(0, Utf8::OffsetOfCharacter(text, n)));
}

std::string Right(std::string_view text, std::size_t n) {
  const std::size_t count = Utf8::CharacterCount(text);
  if (n >= count) return std::string(text);
  return std::string(text.substr(Utf8::OffsetOfCharacter(text, count - n)));
}

std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with) {
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (true) {
    const std::size_t hit = text.find(what, pos);
    if (hit == std::string_view::npos || what.empty()) break;
    out.append(text.substr(pos, hit - pos)).append(with);
    pos = hit + what.size();
  }
  out.append(text.substr(pos));
  return out;
}

}  // namespace harvestor
