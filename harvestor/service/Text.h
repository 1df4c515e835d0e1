#pragma once
// Text helpers used throughout the component. Text is UTF-8. Case-insensitive
// means compared in the folded form of CaseFold.h (Latin, Greek and Cyrillic
// letters fold; other characters and malformed bytes compare as they stand),
// which is how the component's keys (subject IDs, locus names, allele IDs)
// behave.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace harvestor {

// Folds ASCII letters only.
char FoldCase(char c);
// The folded form: as long as the text, with its characters at the same offsets.
std::string LowerCase(std::string_view text);
bool EqualsNoCase(std::string_view a, std::string_view b);
// Orders a before b ignoring case; ties keep their order.
bool LessNoCase(std::string_view a, std::string_view b);
// A hash of the folded form, so texts equal without regard to case hash alike.
std::size_t HashNoCase(std::string_view text);

// Removes trailing spaces only, as the classic RTrim does.
std::string TrimTrailingBlanks(std::string_view text);

// Shortest ordinary decimal form, at most 15 significant digits: 2, 2.5, -0.125.
std::string FormatNumber(double value);
// At most digits significant digits, as printf's %g writes them: 150.5, 1234567, 1.234568e+07.
std::string FormatSignificant(double value, int digits);
// Appends FormatSignificant(value, digits) to text without a text of its own.
void AppendSignificant(std::string& text, double value, int digits);
// Reads a number the way a property value is read: leading and trailing
// blanks allowed; blank text reads as 0; anything else gives nothing.
std::optional<double> ParseNumber(std::string_view text);

// The first n characters, the last n characters (whole text when shorter).
// Characters are UTF-8 characters (Utf8.h), so a cut never splits one.
std::string Left(std::string_view text, std::size_t n);
std::string Right(std::string_view text, std::size_t n);

// Replaces every occurrence of what with with.
std::string ReplaceAll(std::string_view text, std::string_view what, std::string_view with);

}  // namespace harvestor
