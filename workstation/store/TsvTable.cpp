#include "workstation/store/TsvTable.h"

#include <fstream>

#include "harvestor/service/Text.h"
#include "workstation/store/ImportChecks.h"

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
      if (line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
      table.header_ = splitTabs(line);
      for (std::size_t i = 0; i < table.header_.size(); ++i) {
        const std::string& name = table.header_[i];
        if (const TextFault fault = textFault(name); !fault.cause.empty()) {
          table.fail(1, "column " + std::to_string(i + 1) + ": heading holds " + fault.cause +
                            " at byte " + std::to_string(fault.offset + 1));
        }
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
    for (std::size_t i = 0; i < row.cells.size(); ++i) {
      if (const TextFault fault = textFault(row.cells[i]); !fault.cause.empty()) {
        table.fail(row, static_cast<int>(i),
                   "holds " + fault.cause + " at byte " + std::to_string(fault.offset + 1));
      }
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
  double value = 0;
  if (const std::string fault = numberFault(cell, value); !fault.empty()) fail(row, column, fault);
  return value;
}

float TsvTable::single(const Row& row, int column, float fallback) const {
  if (column < 0) return fallback;
  const std::string& cell = row.cells[static_cast<std::size_t>(column)];
  if (cell.empty()) return fallback;
  float value = 0;
  if (const std::string fault = singleFault(cell, value); !fault.empty()) fail(row, column, fault);
  return value;
}

std::int64_t TsvTable::integer(const Row& row, int column, std::int64_t fallback, std::int64_t min,
                               std::int64_t max) const {
  if (column < 0) return fallback;
  const std::string& cell = row.cells[static_cast<std::size_t>(column)];
  if (cell.empty()) return fallback;
  std::int64_t value = 0;
  if (const std::string fault = wholeFault(cell, min, max, value); !fault.empty()) {
    fail(row, column, fault);
  }
  return value;
}

bool TsvTable::flag(const Row& row, int column, bool fallback) const {
  if (column < 0) return fallback;
  const std::string cell = harvestor::LowerCase(row.cells[static_cast<std::size_t>(column)]);
  if (cell.empty()) return fallback;
  if (cell == "1" || cell == "true" || cell == "yes") return true;
  if (cell == "0" || cell == "false" || cell == "no") return false;
  fail(row, column,
       "'" + row.cells[static_cast<std::size_t>(column)] + "' is not 0/1, true/false or yes/no");
}

void TsvTable::fail(int line, const std::string& what) const {
  throw ImportError(path_ + ":" + std::to_string(line) + ": " + what);
}

void TsvTable::fail(const Row& row, int column, const std::string& cause) const {
  fail(row.line, "column '" + header_[static_cast<std::size_t>(column)] + "': " + cause);
}

}  // namespace workstation
