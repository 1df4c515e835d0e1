#include "harvestor/service/Utf8.h"

namespace harvestor::Utf8 {
namespace {

bool Continuation(unsigned char c) { return (c & 0xC0) == 0x80; }

}  // namespace

Character Decode(std::string_view text, std::size_t at) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
  const unsigned char lead = byte(0);
  const Character single{lead, 1, lead < 0x80};
  if (lead < 0xC2 || lead > 0xF4) return single;
  const std::size_t length = lead < 0xE0 ? 2 : lead < 0xF0 ? 3 : 4;
  if (text.size() - at < length) return single;
  // The second byte's range excludes overlong forms, surrogates and values past U+10FFFF.
  const unsigned char second = byte(1);
  const unsigned char low = lead == 0xE0 ? 0xA0 : lead == 0xF0 ? 0x90 : 0x80;
  const unsigned char high = lead == 0xED ? 0x9F : lead == 0xF4 ? 0x8F : 0xBF;
  if (second < low || second > high) return single;
  char32_t codePoint = lead & (length == 2 ? 0x1F : length == 3 ? 0x0F : 0x07);
  for (std::size_t i = 1; i < length; ++i) {
    if (!Continuation(byte(i))) return single;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  return {codePoint, length, true};
}

std::size_t CharacterCount(std::string_view text) {
  std::size_t count = 0;
  for (std::size_t at = 0; at < text.size(); at += Decode(text, at).length) ++count;
  return count;
}

std::size_t OffsetOfCharacter(std::string_view text, std::size_t n) {
  std::size_t at = 0;
  for (; at < text.size() && n > 0; --n) at += Decode(text, at).length;
  return at;
}

void Append(std::string& out, char32_t codePoint) {
  const auto put = [&](char32_t bits) { out.push_back(static_cast<char>(bits)); };
  if (codePoint < 0x80) {
    put(codePoint);
  } else if (codePoint < 0x800) {
    put(0xC0 | (codePoint >> 6));
    put(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    put(0xE0 | (codePoint >> 12));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  } else {
    put(0xF0 | (codePoint >> 18));
    put(0x80 | ((codePoint >> 12) & 0x3F));
    put(0x80 | ((codePoint >> 6) & 0x3F));
    put(0x80 | (codePoint & 0x3F));
  }
}

}  // namespace harvestor::Utf8
