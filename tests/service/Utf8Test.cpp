// Counting and cutting text by UTF-8 characters, malformed bytes included.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "harvestor/service/Text.h"
#include "harvestor/service/Utf8.h"

namespace harvestor {
namespace {

struct CutCase {
  const char* text;
  std::size_t characters;
  std::size_t n;
  const char* left;
  const char* right;
};

// "é" is 2 bytes, "€" 3, "𝄞" 4; \xC3 alone, \x80 alone, an overlong "/"
// (\xC0\xAF) and a surrogate (\xED\xA0\x80) are malformed: one character a byte.
const CutCase kCuts[] = {
    {"", 0, 3, "", ""},
    {"abc", 3, 2, "ab", "bc"},
    {"\xC3\xA9t\xC3\xA9", 3, 1, "\xC3\xA9", "\xC3\xA9"},
    {"\xC3\xA9t\xC3\xA9", 3, 2, "\xC3\xA9t", "t\xC3\xA9"},
    {"a\xE2\x82\xAC"
     "b",
     3, 2, "a\xE2\x82\xAC",
     "\xE2\x82\xAC"
     "b"},
    {"\xF0\x9D\x84\x9Ex\xF0\x9D\x84\x9E", 3, 1, "\xF0\x9D\x84\x9E", "\xF0\x9D\x84\x9E"},
    {"\xC3"
     "a",
     2, 1, "\xC3", "a"},
    {"a\x80\x80", 3, 2, "a\x80", "\x80\x80"},
    {"\xC0\xAF", 2, 1, "\xC0", "\xAF"},
    {"\xED\xA0\x80", 3, 1, "\xED", "\x80"},
    {"x\xE2\x82", 3, 2, "x\xE2", "\xE2\x82"},    // a sequence cut short by the end
    {"\xF4\x90\x80\x80", 4, 1, "\xF4", "\x80"},  // past U+10FFFF
    {"M\xC3\xBCller", 6, 10, "M\xC3\xBCller", "M\xC3\xBCller"},
};

TEST(Utf8Test, TextIsCountedAndCutByCharacters) {
  for (const CutCase& c : kCuts) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(Utf8::CharacterCount(c.text), c.characters);
    EXPECT_EQ(Left(c.text, c.n), c.left);
    EXPECT_EQ(Right(c.text, c.n), c.right);
  }
}

TEST(Utf8Test, WellFormedCharactersDecodeToTheirCodePointsAndBack) {
  const std::pair<std::string, char32_t> cases[] = {{"A", U'A'},
                                                    {"\xC3\xA9", U'\u00E9'},
                                                    {"\xE2\x82\xAC", U'\u20AC'},
                                                    {"\xF0\x9D\x84\x9E", U'\U0001D11E'},
                                                    {"\xF4\x8F\xBF\xBF", U'\U0010FFFF'}};
  for (const auto& [text, codePoint] : cases) {
    const Utf8::Character decoded = Utf8::Decode(text, 0);
    EXPECT_TRUE(decoded.wellFormed && decoded.length == text.size()) << text;
    EXPECT_EQ(decoded.codePoint, codePoint) << text;
    std::string encoded;
    Utf8::Append(encoded, codePoint);
    EXPECT_EQ(encoded, text);
  }
}

}  // namespace
}  // namespace harvestor
