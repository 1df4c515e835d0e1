#include "harvestor/service/CaseFold.h"

#include <algorithm>
#include <iterator>

#include "harvestor/service/Utf8.h"

namespace harvestor::CaseFold {
namespace {

// A run of capitals: either every code point in it folds by adding delta, or
// (delta 0) capitals and small letters alternate, the capital first.
struct Run {
  char32_t first;
  char32_t last;
  int delta;
};

// Sorted by first: the simple case folds of U+0000 to U+052F in Unicode 14's
// CaseFolding.txt (status C and S), less those that change the byte length.
constexpr Run kRuns[] = {
    {0x0041, 0x005A, 32},   {0x00B5, 0x00B5, 775},  {0x00C0, 0x00D6, 32},  {0x00D8, 0x00DE, 32},
    {0x0100, 0x012F, 0},    {0x0132, 0x0137, 0},    {0x0139, 0x0148, 0},   {0x014A, 0x0177, 0},
    {0x0178, 0x0178, -121}, {0x0179, 0x017E, 0},    {0x0181, 0x0181, 210}, {0x0182, 0x0185, 0},
    {0x0186, 0x0186, 206},  {0x0187, 0x0187, 1},    {0x0189, 0x018A, 205}, {0x018B, 0x018B, 1},
    {0x018E, 0x018E, 79},   {0x018F, 0x018F, 202},  {0x0190, 0x0190, 203}, {0x0191, 0x0191, 1},
    {0x0193, 0x0193, 205},  {0x0194, 0x0194, 207},  {0x0196, 0x0196, 211}, {0x0197, 0x0197, 209},
    {0x0198, 0x0198, 1},    {0x019C, 0x019C, 211},  {0x019D, 0x019D, 213}, {0x019F, 0x019F, 214},
    {0x01A0, 0x01A5, 0},    {0x01A6, 0x01A6, 218},  {0x01A7, 0x01A7, 1},   {0x01A9, 0x01A9, 218},
    {0x01AC, 0x01AC, 1},    {0x01AE, 0x01AE, 218},  {0x01AF, 0x01AF, 1},   {0x01B1, 0x01B2, 217},
    {0x01B3, 0x01B6, 0},    {0x01B7, 0x01B7, 219},  {0x01B8, 0x01B8, 1},   {0x01BC, 0x01BC, 1},
    {0x01C4, 0x01C4, 2},    {0x01C5, 0x01C5, 1},    {0x01C7, 0x01C7, 2},   {0x01C8, 0x01C8, 1},
    {0x01CA, 0x01CA, 2},    {0x01CB, 0x01DC, 0},    {0x01DE, 0x01EF, 0},   {0x01F1, 0x01F1, 2},
    {0x01F2, 0x01F5, 0},    {0x01F6, 0x01F6, -97},  {0x01F7, 0x01F7, -56}, {0x01F8, 0x021F, 0},
    {0x0220, 0x0220, -130}, {0x0222, 0x0233, 0},    {0x023B, 0x023B, 1},   {0x023D, 0x023D, -163},
    {0x0241, 0x0241, 1},    {0x0243, 0x0243, -195}, {0x0244, 0x0244, 69},  {0x0245, 0x0245, 71},
    {0x0246, 0x024F, 0},    {0x0345, 0x0345, 116},  {0x0370, 0x0373, 0},   {0x0376, 0x0376, 1},
    {0x037F, 0x037F, 116},  {0x0386, 0x0386, 38},   {0x0388, 0x038A, 37},  {0x038C, 0x038C, 64},
    {0x038E, 0x038F, 63},   {0x0391, 0x03A1, 32},   {0x03A3, 0x03AB, 32},  {0x03C2, 0x03C2, 1},
    {0x03CF, 0x03CF, 8},    {0x03D0, 0x03D0, -30},  {0x03D1, 0x03D1, -25}, {0x03D5, 0x03D5, -15},
    {0x03D6, 0x03D6, -22},  {0x03D8, 0x03EF, 0},    {0x03F0, 0x03F0, -54}, {0x03F1, 0x03F1, -48},
    {0x03F4, 0x03F4, -60},  {0x03F5, 0x03F5, -64},  {0x03F7, 0x03F7, 1},   {0x03F9, 0x03F9, -7},
    {0x03FA, 0x03FA, 1},    {0x03FD, 0x03FF, -130}, {0x0400, 0x040F, 80},  {0x0410, 0x042F, 32},
    {0x0460, 0x0481, 0},    {0x048A, 0x04BF, 0},    {0x04C0, 0x04C0, 15},  {0x04C1, 0x04CE, 0},
    {0x04D0, 0x052F, 0},
};

}  // namespace

char32_t Fold(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  const auto after = std::upper_bound(std::begin(kRuns), std::end(kRuns), c,
                                      [](char32_t v, const Run& r) { return v < r.first; });
  if (after == std::begin(kRuns)) return c;
  const Run& run = *std::prev(after);
  if (c > run.last) return c;
  if (run.delta != 0) return static_cast<char32_t>(static_cast<long>(c) + run.delta);
  return (c - run.first) % 2 == 0 ? c + 1 : c;
}

bool FoldedBytes::Next(unsigned char& byte) {
  if (given_ == size_) {
    if (at_ >= text_.size()) return false;
    const auto lead = static_cast<unsigned char>(text_[at_]);
    if (lead < 0x80) {  // the common case: no decoding
      ++at_;
      byte = static_cast<unsigned char>(Fold(lead));
      return true;
    }
    const Utf8::Character c = Utf8::Decode(text_, at_);
    std::string folded;
    if (c.wellFormed) {
      Utf8::Append(folded, Fold(c.codePoint));
    } else {
      folded.push_back(static_cast<char>(lead));
    }
    std::copy(folded.begin(), folded.end(), pending_);
    size_ = folded.size();
    given_ = 0;
    at_ += c.length;
  }
  byte = static_cast<unsigned char>(pending_[given_++]);
  return true;
}

std::string Folded(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  FoldedBytes bytes(text);
  for (unsigned char b; bytes.Next(b);) out.push_back(static_cast<char>(b));
  return out;
}

}  // namespace harvestor::CaseFold
