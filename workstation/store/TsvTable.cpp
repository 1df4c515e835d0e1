#include "workstation/store/TsvTable.h"

#include <stdio.h>
#include <sys/types.h>

#include <cstdlib>

#include "harvestor/service/Text.h"
#include "workstation/store/ImportChecks.h"

namespace workstation {
namespace {

// Large enough that a table is read in few system calls, small enough to
// cost nothing beside the rows.
constexpr std::size_t kReadBuffer = 1 << 20;

}  // namespace

TsvTable::TsvTable(const std::string& path, const std::vector<ColumnSpec>& known,
                   const std::optional<OtherColumns>& others)
    : path_(path), file_(std::fopen(path.c_str(), "rb")) {
  if (!file_) throw ImportError(path + ": cannot be read");
  std::setvbuf(file_.get(), nullptr, _IOFBF, kReadBuffer);
  if (!readLine()) fail(1, "no header row");
  split();
  for (std::string_view cell : cells_) header_.emplace_back(cell);
  std::vector<std::string> names;
  for (const ColumnSpec& spec : known) names.push_back(spec.name);
  const ColumnNames columns(names);
  if (others) names.insert(names.end(), others->read.begin(), others->read.end());
  const ColumnNames read(std::move(names));
  for (std::size_t i = 0; i < header_.size(); ++i) {
    const std::string& name = header_[i];
    if (const TextFault fault = textFault(name); !fault.cause.empty()) {
      fail(1, "column " + std::to_string(i + 1) + ": heading holds " + fault.cause + " at byte " +
                  std::to_string(fault.offset + 1));
    }
    const std::string* found = columns.find(name);
    const std::string canonical = found ? *found : std::string();
    for (std::size_t j = 0; j < i && !canonical.empty(); ++j) {
      if (known_[j] == canonical) fail(1, "column '" + name + "' appears twice");
    }
    if (canonical.empty()) {
      if (!others) fail(1, columns.unknown(name));
      if (!read.find(name) && !read.closest(name).empty() && others->warn) {
        others->warn(unknownColumnMessage(path_, read, name));
      }
      extra_.push_back(static_cast<int>(i));
    }
    known_.push_back(canonical);
  }
  for (const ColumnSpec& spec : known) {
    if (spec.required && column(spec.name) < 0) {
      fail(1, "missing required column '" + spec.name + "'");
    }
  }
}

bool TsvTable::readLine() {
  const ssize_t read = ::getline(&buffer_.data, &buffer_.capacity, file_.get());
  if (read < 0) {
    // A folder opens but cannot be read: that is not an empty table.
    if (std::ferror(file_.get())) throw ImportError(path_ + ": cannot be read");
    return false;
  }
  offset_ = nextOffset_;
  nextOffset_ += read;
  ++line_;
  auto length = static_cast<std::size_t>(read);
  if (length > 0 && buffer_.data[length - 1] == '\n') --length;
  if (length > 0 && buffer_.data[length - 1] == '\r') --length;
  lineText_ = std::string_view(buffer_.data, length);
  if (offset_ == 0 && lineText_.substr(0, 3) == "\xEF\xBB\xBF") lineText_.remove_prefix(3);
  return true;
}

void TsvTable::split() {
  cells_.clear();
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = lineText_.find('\t', start);
    cells_.push_back(lineText_.substr(start, tab == std::string_view::npos ? tab : tab - start));
    if (tab == std::string_view::npos) break;
    start = tab + 1;
  }
}

bool TsvTable::skim() {
  do {
    if (!readLine()) return false;
  } while (lineText_.empty());
  split();
  if (cells_.size() != header_.size()) {
    fail(line_, "expected " + std::to_string(header_.size()) + " fields, found " +
                    std::to_string(cells_.size()));
  }
  return true;
}

bool TsvTable::next() {
  if (!skim()) return false;
  for (std::size_t i = 0; i < cells_.size(); ++i) checkText(static_cast<int>(i));
  return true;
}

void TsvTable::seek(std::int64_t offset, int line) {
  if (offset != nextOffset_) {
    if (::fseeko(file_.get(), static_cast<off_t>(offset), SEEK_SET) != 0) {
      throw ImportError(path_ + ": cannot be read");
    }
    nextOffset_ = offset;
  }
  line_ = line - 1;
}

int TsvTable::column(const std::string& name) const {
  for (std::size_t i = 0; i < known_.size(); ++i) {
    if (known_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

std::string_view TsvTable::cell(int column) const {
  return column < 0 ? std::string_view() : cells_[static_cast<std::size_t>(column)];
}

std::string TsvTable::text(int column, const std::string& fallback) const {
  return column < 0 ? fallback : std::string(cell(column));
}

void TsvTable::checkText(int column) const {
  if (const TextFault fault = textFault(cell(column)); !fault.cause.empty()) {
    failCell(column, "holds " + fault.cause + " at byte " + std::to_string(fault.offset + 1));
  }
}

double TsvTable::number(int column, double fallback) const {
  const std::string_view text = cell(column);
  if (text.empty()) return fallback;
  double value = 0;
  if (const std::string fault = numberFault(text, value); !fault.empty()) failCell(column, fault);
  return value;
}

float TsvTable::single(int column, float fallback) const {
  const std::string_view text = cell(column);
  if (text.empty()) return fallback;
  float value = 0;
  if (const std::string fault = singleFault(text, value); !fault.empty()) failCell(column, fault);
  return value;
}

std::int64_t TsvTable::integer(int column, std::int64_t fallback, std::int64_t min,
                               std::int64_t max) const {
  const std::string_view text = cell(column);
  if (text.empty()) return fallback;
  std::int64_t value = 0;
  if (const std::string fault = wholeFault(text, min, max, value); !fault.empty()) {
    failCell(column, fault);
  }
  return value;
}

bool TsvTable::flag(int column, bool fallback) const {
  const std::string value = harvestor::LowerCase(cell(column));
  if (value.empty()) return fallback;
  if (value == "1" || value == "true" || value == "yes") return true;
  if (value == "0" || value == "false" || value == "no") return false;
  failCell(column, "'" + std::string(cell(column)) + "' is not 0/1, true/false or yes/no");
}

void TsvTable::fail(int line, const std::string& what) const {
  throw ImportError(path_ + ":" + std::to_string(line) + ": " + what);
}

void TsvTable::failCell(int column, const std::string& cause) const {
  fail(line_, "column '" + header_[static_cast<std::size_t>(column)] + "': " + cause);
}

}  // namespace workstation
