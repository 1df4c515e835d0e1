#pragma once
// A tab-delimited table with a header row, as a lab exports it from its
// analysis software. Column names match without regard to case; every error
// names the file and line, and the column when one cell is at fault. Cells
// are kept exactly (trailing blanks too); a cell holding a control character
// or text that is not UTF-8 is refused. A byte-order mark before the header
// is skipped, and lines may end in CR LF or LF.

#include <cstdint>
#include <string>
#include <vector>

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

class TsvTable {
 public:
  struct Row {
    int line = 0;
    std::vector<std::string> cells;
  };

  // Reads a table whose columns must be among `known`; with `otherColumns`
  // true, any other column is allowed too, even twice (and listed by extraColumns()).
  static TsvTable read(const std::string& path, const std::vector<ColumnSpec>& known,
                       bool otherColumns = false);

  const std::vector<Row>& rows() const { return rows_; }
  // Index of a known column, or -1 when the file lacks it.
  int column(const std::string& name) const;
  // Indexes of the columns that are not among the known ones, in file order.
  const std::vector<int>& extraColumns() const { return extra_; }
  const std::string& heading(int column) const { return header_[static_cast<std::size_t>(column)]; }

  std::string text(const Row& row, int column, const std::string& fallback = "") const;
  // A finite number; an empty cell gives the fallback.
  double number(const Row& row, int column, double fallback) const;
  // A finite number within single precision's range.
  float single(const Row& row, int column, float fallback) const;
  std::int64_t integer(const Row& row, int column, std::int64_t fallback, std::int64_t min,
                       std::int64_t max) const;
  bool flag(const Row& row, int column, bool fallback) const;
  [[noreturn]] void fail(int line, const std::string& what) const;
  // Fails naming the row's line and the column by its heading.
  [[noreturn]] void fail(const Row& row, int column, const std::string& cause) const;

 private:
  std::string path_;
  std::vector<std::string> header_;
  std::vector<std::string> known_;  // canonical name per header column, or ""
  std::vector<int> extra_;
  std::vector<Row> rows_;
};

}  // namespace workstation
