#pragma once
// Case folding of UTF-8 text, for keys and every other comparison that
// ignores case. A character folds by Unicode's simple case folding (one code
// point to one code point) where it lies in these scripts:
//   U+0000 to U+052F: Basic Latin, Latin-1 Supplement (the micro sign folds
//   to Greek mu), Latin Extended-A and -B, IPA Extensions, Greek and Coptic,
//   Cyrillic and Cyrillic Supplement.
// Every other character, and every byte that is not well-formed UTF-8, is its
// own fold: Latin Extended Additional, Greek Extended, Armenian, Georgian,
// full-width letters and the rest compare as they stand. Folds that would
// change a character's length in bytes are left out too (long s U+017F, the
// Kelvin, Ohm and Angstrom signs, capital sharp s U+1E9E), so a folded text
// has the original's length and its offsets; the one-to-many folds (sharp s to
// "ss", I with dot above) are never made.

#include <string>
#include <string_view>

namespace harvestor::CaseFold {

char32_t Fold(char32_t codePoint);

// The bytes of a text's folded form, one at a time, without building it.
class FoldedBytes {
 public:
  explicit FoldedBytes(std::string_view text) : text_(text) {}
  // The next byte; false at the end.
  bool Next(unsigned char& byte);

 private:
  std::string_view text_;
  std::size_t at_ = 0;
  char pending_[4] = {};  // the current character's folded bytes
  std::size_t size_ = 0;
  std::size_t given_ = 0;
};

// The folded form of a whole text.
std::string Folded(std::string_view text);

}  // namespace harvestor::CaseFold
