#pragma once
// Reading text as UTF-8 characters. A character is one code point; a byte
// that does not begin a well-formed sequence (RFC 3629: no overlong forms, no
// surrogates, nothing past U+10FFFF) counts as a character of its own, so any
// text can be counted and cut, and a cut never falls inside a well-formed
// sequence.

#include <cstddef>
#include <string>
#include <string_view>

namespace harvestor::Utf8 {

struct Character {
  char32_t codePoint;  // the byte itself when not well-formed
  std::size_t length;  // bytes taken, 1 to 4
  bool wellFormed;
};

// The character that begins at byte offset at (which must be inside text).
Character Decode(std::string_view text, std::size_t at);

std::size_t CharacterCount(std::string_view text);

// The byte offset at which character n (0-based) begins; text.size() when
// the text has n characters or fewer.
std::size_t OffsetOfCharacter(std::string_view text, std::size_t n);

// Appends the UTF-8 form of a code point.
void Append(std::string& out, char32_t codePoint);

}  // namespace harvestor::Utf8
