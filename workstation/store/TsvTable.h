#pragma once
// A tab-delimited table with a header row, as a lab exports it from its
// analysis software, read one row at a time: memory holds the current line,
// however long the table. Column names match without regard to case; every
// error names the file and line, and the column when one cell is at fault.
// Cells are kept exactly (trailing blanks too); a cell holding a control
// character or text that is not UTF-8 is refused. A byte-order mark before
// the header is skipped, lines may end in CR LF or LF, and blank lines are
// skipped.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "workstation/store/ColumnNames.h"
#include "workstation/store/Database.h"

namespace workstation {

class ImportError : public StoreError {
 public:
  using StoreError::StoreError;
};

struct ColumnSpec {
  std::string name;
  bool required = false;
};

// What a table whose header may hold columns of the lab's own beside the
// known ones (the subjects table's properties) makes of them.
struct OtherColumns {
  // Names the system reads from among those columns: a heading that is one
  // of them is taken without a word.
  std::vector<std::string> read;
  // Told of every other heading close to a known column or to one of `read`.
  ColumnWarning warn;
};

class TsvTable {
 public:
  // Opens the table and reads its header, whose columns must be among
  // `known`: another is refused, named with the known column it lies close
  // to. With `others`, any other column is allowed too, even twice (and
  // listed by extraColumns()).
  TsvTable(const std::string& path, const std::vector<ColumnSpec>& known,
           const std::optional<OtherColumns>& others = std::nullopt);
  TsvTable(const TsvTable&) = delete;
  TsvTable& operator=(const TsvTable&) = delete;
  ~TsvTable();

  // Reads the next row and checks the text of every cell; false at the end.
  bool next();
  // Reads the next row, split only as far as its first `cells` cells, and
  // checks nothing of it: the caller checks the cells it uses with
  // checkText() and reads the row again later with next(), which checks the
  // number of fields. A row with fewer fields than `cells` is refused here.
  bool skim(int cells);
  // Where the current row's line starts, for seek().
  std::int64_t offset() const { return offset_; }
  int line() const { return line_; }
  // Makes the next row read the one whose line starts at offset, numbered
  // line: a row found by an earlier pass. Reading on from where the table
  // stands costs no seek.
  void seek(std::int64_t offset, int line);

  // Index of a known column, or -1 when the file lacks it.
  int column(const std::string& name) const;
  // Indexes of the columns that are not among the known ones, in file order.
  const std::vector<int>& extraColumns() const { return extra_; }
  const std::string& heading(int column) const { return header_[static_cast<std::size_t>(column)]; }
  int columns() const { return static_cast<int>(header_.size()); }

  // The current row's cell; empty for a column the file lacks. It lasts
  // until the next row is read.
  std::string_view cell(int column) const;
  std::string text(int column, const std::string& fallback = "") const;
  void checkText(int column) const;
  // A finite number; an empty cell gives the fallback.
  double number(int column, double fallback) const;
  // A finite number within single precision's range.
  float single(int column, float fallback) const;
  std::int64_t integer(int column, std::int64_t fallback, std::int64_t min, std::int64_t max) const;
  bool flag(int column, bool fallback) const;

  [[noreturn]] void fail(int line, const std::string& what) const;
  // Fails naming the current row's line and the column by its heading.
  [[noreturn]] void failCell(int column, const std::string& cause) const;

 private:
  bool readLine();
  // Reads lines up to the next that is not blank; false at the end.
  bool readRow();
  // Reads more of the file after what the buffer holds; false at its end.
  bool fill();
  void split();
  [[noreturn]] void failFields() const;

  std::string path_;
  int fd_ = -1;
  // The bytes read and not yet taken as lines: [begin_, end_) of data_, a
  // buffer grown only for a line longer than it.
  std::unique_ptr<char[]> data_;
  std::size_t capacity_ = 0, begin_ = 0, end_ = 0;
  bool atEnd_ = false;
  // Every byte of the current line is printable ASCII or a tab, so no cell
  // needs the control-character and UTF-8 check.
  bool plain_ = false;
  std::string_view lineText_;
  std::int64_t offset_ = 0, nextOffset_ = 0;
  int line_ = 0;
  std::vector<std::string_view> cells_;
  std::vector<std::string> header_;
  std::vector<std::string> known_;  // canonical name per header column, or ""
  std::vector<int> extra_;
};

}  // namespace workstation
