#include "workstation/store/TsvTable.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>

#include "harvestor/service/Text.h"
#include "workstation/store/ImportChecks.h"

namespace workstation {
namespace {

// Large enough that a table is read in few system calls, small enough to
// cost nothing beside the rows.
constexpr std::size_t kReadBuffer = 1 << 20;

// Printable ASCII or a tab: a byte no cell check can refuse. Written
// without branches, so that the check of a whole line is vectorised.
bool plainText(std::string_view text) {
  unsigned char odd = 0;
  for (const char c : text) {
    const auto b = static_cast<unsigned char>(c);
    odd |= static_cast<unsigned char>((static_cast<unsigned char>(b - 0x20) >= 0x5F) & (b != '\t'));
  }
  return odd == 0;
}

}  // namespace

TsvTable::TsvTable(const std::string& path, const std::vector<ColumnSpec>& known,
                   const std::optional<OtherColumns>& others)
    : path_(path),
      fd_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)),
      data_(new char[kReadBuffer]),
      capacity_(kReadBuffer) {
  if (fd_ < 0) throw ImportError(path + ": cannot be read");
  struct Closer {  // the destructor does not run for a header refused here
    TsvTable& t;
    bool armed = true;
    ~Closer() {
      if (armed) ::close(t.fd_);
    }
  } closer{*this};
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
  closer.armed = false;
}

TsvTable::~TsvTable() { ::close(fd_); }

bool TsvTable::fill() {
  if (atEnd_) return false;
  if (begin_ > 0) {  // keep the unfinished line, at the front
    std::memmove(data_.get(), data_.get() + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  if (end_ == capacity_) {  // a line longer than the buffer
    std::unique_ptr<char[]> wider(new char[capacity_ * 2]);
    std::memcpy(wider.get(), data_.get(), end_);
    data_ = std::move(wider);
    capacity_ *= 2;
  }
  while (true) {
    const ssize_t n = ::read(fd_, data_.get() + end_, capacity_ - end_);
    if (n < 0 && errno == EINTR) continue;
    // A folder opens but cannot be read: that is not an empty table.
    if (n < 0) throw ImportError(path_ + ": cannot be read");
    if (n == 0) atEnd_ = true;
    end_ += static_cast<std::size_t>(n);
    return n > 0;
  }
}

bool TsvTable::readLine() {
  std::size_t scanned = begin_;
  const char* newline = nullptr;
  while (!(newline = static_cast<const char*>(
               std::memchr(data_.get() + scanned, '\n', end_ - scanned)))) {
    scanned = end_ - begin_;  // where fill() puts what was already scanned
    if (!fill()) break;
  }
  if (newline == nullptr && begin_ == end_) return false;
  const char* start = data_.get() + begin_;
  const std::size_t read = newline ? static_cast<std::size_t>(newline - start) + 1 : end_ - begin_;
  begin_ += read;
  offset_ = nextOffset_;
  nextOffset_ += static_cast<std::int64_t>(read);
  ++line_;
  std::size_t length = read;
  if (length > 0 && start[length - 1] == '\n') --length;
  if (length > 0 && start[length - 1] == '\r') --length;
  lineText_ = std::string_view(start, length);
  if (offset_ == 0 && lineText_.substr(0, 3) == "\xEF\xBB\xBF") lineText_.remove_prefix(3);
  return true;
}

void TsvTable::split() {
  cells_.clear();
  const char* text = lineText_.data();
  const std::size_t size = lineText_.size();
  std::size_t start = 0;
  for (std::size_t i = 0; i < size; ++i) {
    if (text[i] == '\t') {
      cells_.emplace_back(text + start, i - start);
      start = i + 1;
    }
  }
  cells_.emplace_back(text + start, size - start);
  plain_ = plainText(lineText_);
}

bool TsvTable::readRow() {
  do {
    if (!readLine()) return false;
  } while (lineText_.empty());
  return true;
}

bool TsvTable::skim(int cells) {
  if (!readRow()) return false;
  cells_.clear();
  plain_ = false;
  std::string_view rest = lineText_;
  while (static_cast<int>(cells_.size()) < cells) {
    const std::size_t tab = rest.find('\t');
    if (tab == std::string_view::npos && static_cast<int>(cells_.size()) + 1 < cells) {
      split();
      failFields();
    }
    cells_.push_back(rest.substr(0, tab));
    rest.remove_prefix(tab == std::string_view::npos ? rest.size() : tab + 1);
  }
  return true;
}

bool TsvTable::next() {
  if (!readRow()) return false;
  split();
  if (cells_.size() != header_.size()) failFields();
  for (std::size_t i = 0; i < cells_.size(); ++i) checkText(static_cast<int>(i));
  return true;
}

void TsvTable::failFields() const {
  fail(line_, "expected " + std::to_string(header_.size()) + " fields, found " +
                  std::to_string(cells_.size()));
}

void TsvTable::seek(std::int64_t offset, int line) {
  if (offset != nextOffset_) {
    if (::lseek(fd_, static_cast<off_t>(offset), SEEK_SET) < 0) {
      throw ImportError(path_ + ": cannot be read");
    }
    begin_ = end_ = 0;
    atEnd_ = false;
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
  if (plain_ || plainText(cell(column))) return;
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
  // Plain digits, the usual cell, need no detour through a decimal.
  if (const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
      ec == std::errc() && end == text.data() + text.size() && value >= min && value <= max) {
    return value;
  }
  if (const std::string fault = wholeFault(text, min, max, value); !fault.empty()) {
    failCell(column, fault);
  }
  return value;
}

bool TsvTable::flag(int column, bool fallback) const {
  if (const std::string_view text = cell(column); text.size() == 1) {  // the usual 0 or 1
    if (text[0] == '0') return false;
    if (text[0] == '1') return true;
  }
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
