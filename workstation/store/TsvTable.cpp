#include "workstation/store/TsvTable.h"

#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "harvestor/service/Text.h"

namespace workstation {
namespace {

std::vector<std::string> splitTabs(const std::string& line) {
  std::vector<std::string> cells;
  std::size_t start = 0;
  while (true) {
    const std::size_t tab = line.find('\t', start);
    cells.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) break;
    start = tab + 1;
  }
  return cells;
}

}  // namespace

TsvTable TsvTable::read(const std::string& path, const std::vector<ColumnSpec>& known,
                        bool otherColumns) {
  TsvTable table;
  table.path_ = path;
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ImportError(path + ": cannot be read");
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (number == 1) {
      table.header_ = splitTabs(line);
      for (std::size_t i = 0; i < table.header_.size(); ++i) {
        const std::string& name = table.header_[i];
        std::string canonical;
        for (const ColumnSpec& spec : known) {
          if (harvestor::EqualsNoCase(spec.name, name)) canonical = spec.name;
        }
        for (std::size_t j = 0; j < i && !canonical.empty(); ++j) {
          if (table.known_[j] == canonical) table.fail(1, "column '" + name + "' appears twice");
        }
        if (canonical.empty()) {
          if (!otherColumns) table.fail(1, "unknown column '" + name + "'");
          table.extra_.push_back(static_cast<int>(i));
        }
        table.known_.push_back(canonical);
      }
      continue;
    }
    if (line.empty()) continue;
    Row row{number, splitTabs(line)};
    if (row.cells.size() != table.header_.size()) {
      table.fail(number, "expected " + std::to_string(table.header_.size()) + " fields, found " +
                             std::to_string(row.cells.size()));
    }
    table.rows_.push_back(std::move(row));
  }
  if (number == 0) table.fail(1, "no header row");
  for (const ColumnSpec& spec : known) {
    if (spec.required && table.column(spec.name) < 0) {
      table.fail(1, "missing required column '" + spec.name + "'");
    }
  }
  return table;
}

int TsvTable::column(const std::string& name) const {
  for (std::size_t i = 0; i < known_.size(); ++i) {
    if (known_[i] == name) return static_cast<int>(i);
  }
  return -1;
}

std::string TsvTable::text(const Row& row, int column, const std::string& fallback) const {
  return column < 0 ? fallback : row.cells[static_cast<std::size_t>(column)];
}

double TsvTable::number(const Row& row, int column, double fallback) const {
  if (column < 0) return fallback;
  const std::string& cell = row.cells[static_cast<std::size_t>(column)];
  if (cell.empty()) return fallback;
  const auto value = harvestor::ParseNumber(cell);
  if (!value || !std::isfinite(*value)) {
    fail(row.line, "'" + cell + "' in column '" + header_[static_cast<std::size_t>(column)] +
                       "' is not a number");
  }
  return *value;
}

std::int64_t TsvTable::integer(const Row& row, int column, std::int64_t fallback, std::int64_t min,
                               std::int64_t max) const {
  const double value = number(row, column, static_cast<double>(fallback));
  if (value != std::floor(value) || value < static_cast<double>(min) ||
      value > static_cast<double>(max)) {
    fail(row.line, "'" + row.cells[static_cast<std::size_t>(column)] + "' in column '" +
                       header_[static_cast<std::size_t>(column)] + "' is not a whole number from " +
                       std::to_string(min) + " to " + std::to_string(max));
  }
  return static_cast<std::int64_t>(value);
}

bool TsvTable::flag(const Row& row, int column, bool fallback) const {
  if (column < 0) return fallback;
  const std::string cell = harvestor::LowerCase(row.cells[static_cast<std::size_t>(column)]);
  if (cell.empty()) return fallback;
  if (cell == "1" || cell == "true" || cell == "yes") return true;
  if (cell == "0" || cell == "false" || cell == "no") return false;
  fail(row.line, "'" + row.cells[static_cast<std::size_t>(column)] + "' in column '" +
                     header_[static_cast<std::size_t>(column)] +
                     "' is not 0/1, true/false or yes/no");
}

void TsvTable::fail(int line, const std::string& what) const {
  throw ImportError(path_ + ":" + std::to_string(line) + ": " + what);
}

}  // namespace workstation
