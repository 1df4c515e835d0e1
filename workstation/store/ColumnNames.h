#pragma once
// The column names a table reads, and which of them a heading that is none
// of them lies close to: a lab's misspelt heading ("Pedigre ID", "Peak
// Hieght") is named with the column it was most likely meant to be, not
// taken silently for a column of its own.
//
// Names match without regard to case. A heading is close to a name when,
// both folded to lower case and without blanks, underscores and hyphens, they
// are at most two edits apart (an edit inserts, removes or replaces a byte,
// or swaps two neighbours), one edit when either has four letters or fewer:
// "PedigreeID" and "pedigree_id" are close to "Pedigree ID", "Dey" to "Dye",
// "Gene" to no "Gender".

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace workstation {

// Told of each heading of a table that the import will not read as meant,
// with the whole message ("FILE:1: unknown column ..."); it may throw to
// refuse the table.
using ColumnWarning = std::function<void(const std::string& message)>;

class ColumnNames {
 public:
  explicit ColumnNames(std::vector<std::string> known) : known_(std::move(known)) {}

  // The known name the heading is; null when it is none of them.
  const std::string* find(std::string_view heading) const;
  // The known name closest to a heading that is none of them; empty when
  // none is close. Of names equally close, the first listed.
  std::string closest(std::string_view heading) const;
  // "unknown column 'HEADING'", with " (did you mean 'NAME'?)" when it is
  // close to NAME.
  std::string unknown(std::string_view heading) const;

 private:
  std::vector<std::string> known_;
};

// The message of an unknown heading in a table's header line.
std::string unknownColumnMessage(const std::string& path, const ColumnNames& names,
                                 std::string_view heading);

}  // namespace workstation
