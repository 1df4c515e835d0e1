#include "workstation/store/CallTableReader.h"

#include <cctype>
#include <map>
#include <optional>
#include <unordered_map>

#include "harvestor/service/Text.h"
#include "workstation/store/ImportChecks.h"
#include "workstation/store/ImportLines.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

// Splits one line; with ',' a field may be quoted ("a, b" and "say ""hi""").
std::vector<std::string> splitCells(const ImportLines& lines, char delimiter) {
  const std::string& line = lines.line();
  std::vector<std::string> cells(1);
  bool quoted = false, atStart = true;
  for (std::size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c != '"') {
        cells.back() += c;
      } else if (i + 1 < line.size() && line[i + 1] == '"') {
        cells.back() += '"';
        ++i;
      } else {
        quoted = false;
      }
    } else if (c == delimiter) {
      cells.emplace_back();
      atStart = true;
      continue;
    } else if (c == '"' && delimiter == ',' && atStart) {
      quoted = true;
    } else {
      cells.back() += c;
    }
    atStart = false;
  }
  if (quoted) {
    lines.fail("field " + std::to_string(cells.size()) +
               ": a quoted field is not closed on its line");
  }
  return cells;
}

struct AlleleColumns {
  int allele = -1, size = -1, height = -1, area = -1;
};

struct Layout {
  std::vector<std::string> headings;
  int sample = -1, marker = -1, file = -1, dye = -1;
  std::map<int, AlleleColumns> alleles;  // by the number in the heading
};

// The number after a heading's word ("Size 12" gives 12), if that is what
// the heading is.
std::optional<int> numbered(const std::string& lower, const std::string& word) {
  if (lower.size() <= word.size() + 1 || lower.compare(0, word.size(), word) != 0 ||
      lower[word.size()] != ' ') {
    return std::nullopt;
  }
  const std::string digits = lower.substr(word.size() + 1);
  if (digits.size() > 3 || digits[0] == '0') return std::nullopt;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
  }
  return std::stoi(digits);
}

// The columns an unknown heading may have been meant as: the named ones, and
// the numbered ones with the heading's own number ("Alele 2" is close to
// "Allele 2", not "Allele 1").
ColumnNames callColumnsNear(const std::string& heading) {
  std::vector<std::string> names = {"Sample Name", "Marker", "Sample File", "Dye"};
  std::size_t digits = heading.size();
  while (digits > 0 && heading[digits - 1] >= '0' && heading[digits - 1] <= '9') --digits;
  const std::size_t first = heading.find_first_not_of('0', digits);
  const std::string number = first == std::string::npos ? "1" : heading.substr(first);
  if (number.size() <= 3) {
    for (const char* word : {"Allele ", "Size ", "Height ", "Area "})
      names.push_back(word + number);
  }
  return ColumnNames(std::move(names));
}

Layout readHeader(const ImportLines& lines, char delimiter, const std::string& path,
                  const ColumnWarning& warn) {
  Layout layout;
  layout.headings = splitCells(lines, delimiter);
  bool claimed = false;
  const auto claim = [&](int& slot, std::size_t i) {
    if (slot >= 0) lines.fail("column '" + layout.headings[i] + "' appears twice");
    slot = static_cast<int>(i);
    claimed = true;
  };
  for (std::size_t i = 0; i < layout.headings.size(); ++i) {
    lines.checkText(layout.headings[i], "column " + std::to_string(i + 1) + ": heading");
    const std::string lower = harvestor::LowerCase(layout.headings[i]);
    if (lower == "sample name") claim(layout.sample, i);
    if (lower == "marker") claim(layout.marker, i);
    if (lower == "sample file") claim(layout.file, i);
    if (lower == "dye") claim(layout.dye, i);
    if (auto n = numbered(lower, "allele")) claim(layout.alleles[*n].allele, i);
    if (auto n = numbered(lower, "size")) claim(layout.alleles[*n].size, i);
    if (auto n = numbered(lower, "height")) claim(layout.alleles[*n].height, i);
    if (auto n = numbered(lower, "area")) claim(layout.alleles[*n].area, i);
    // Columns the software writes in every such table that hold nothing a
    // study keeps: read over without a word, so that --strict takes the
    // table as the software wrote it.
    if (lower == "panel" || lower == "run name" || lower == "comments") claimed = true;
    if (!claimed && warn) {
      warn(unknownColumnMessage(path, callColumnsNear(layout.headings[i]), layout.headings[i]));
    }
    claimed = false;
  }
  if (layout.sample < 0) lines.fail("missing required column 'Sample Name'");
  if (layout.marker < 0) lines.fail("missing required column 'Marker'");
  if (layout.alleles.empty()) lines.fail("no allele column ('Allele 1', 'Allele 2', ...)");
  for (const auto& [n, columns] : layout.alleles) {
    for (int column : {columns.size, columns.height, columns.area}) {
      if (column >= 0 && columns.allele < 0) {
        lines.fail("column '" + layout.headings[static_cast<std::size_t>(column)] +
                   "' has no column 'Allele " + std::to_string(n) + "'");
      }
    }
  }
  return layout;
}

std::int16_t dyeOf(const std::string& cell, const std::string& where, const ImportLines& lines) {
  if (cell.empty()) return 1;
  const std::string letters = "BGYRO";
  if (cell.size() == 1) {
    const std::size_t letter =
        letters.find(static_cast<char>(std::toupper(static_cast<unsigned char>(cell[0]))));
    if (letter != std::string::npos) return static_cast<std::int16_t>(letter + 1);
  }
  std::int64_t dye = 0;
  if (!wholeFault(cell, INT16_MIN, INT16_MAX, dye).empty()) {
    lines.fail(where + ": '" + cell +
               "' is neither a dye number from -32768 to 32767 nor one of B, G, Y, R, O");
  }
  return static_cast<std::int16_t>(dye);
}

struct Gathered {
  ImportedResult result;
  int line = 0;
  std::unordered_map<std::string, int> markers;  // folded name -> line
};

}  // namespace

void CallTableReader::read(const ResultSink& add) const {
  ImportLines lines(path_);
  if (!lines.next()) lines.fail(1, "no header row");
  const char delimiter = lines.line().find('\t') != std::string::npos  ? '\t'
                         : lines.line().find(',') != std::string::npos ? ','
                                                                       : '\t';
  const Layout layout = readHeader(lines, delimiter, path_, warn_);
  std::vector<Gathered> results;
  std::unordered_map<std::string, std::size_t> index;
  while (lines.next()) {
    if (lines.line().empty()) continue;
    std::vector<std::string> cells = splitCells(lines, delimiter);
    // Some programs end every row, but not the header, with a delimiter.
    while (cells.size() > layout.headings.size() && cells.back().empty()) cells.pop_back();
    if (cells.size() != layout.headings.size()) {
      lines.fail("expected " + std::to_string(layout.headings.size()) + " fields, found " +
                 std::to_string(cells.size()));
    }
    const auto where = [&](int column) {
      return "column '" + layout.headings[static_cast<std::size_t>(column)] + "'";
    };
    for (std::size_t i = 0; i < cells.size(); ++i) {
      lines.checkText(cells[i], where(static_cast<int>(i)));
    }
    const auto cell = [&](int column) -> const std::string& {
      static const std::string none;
      return column < 0 ? none : cells[static_cast<std::size_t>(column)];
    };
    const std::string& sample = cell(layout.sample);
    const std::string& marker = cell(layout.marker);
    if (sample.empty()) lines.fail(where(layout.sample) + ": empty");
    if (marker.empty()) lines.fail(where(layout.marker) + ": empty");
    const std::string& name = cell(layout.file).empty() ? sample : cell(layout.file);

    const auto [it, added] = index.emplace(name, results.size());
    if (added) {
      Gathered& g = results.emplace_back();
      g.result.name = name;
      g.result.subjectId = sample;
      g.line = lines.number();
    }
    Gathered& g = results[it->second];
    if (g.result.subjectId != sample) {
      lines.fail(where(layout.sample) + ": result '" + name + "' is of sample '" +
                 g.result.subjectId + "' on line " + std::to_string(g.line) + ", not '" + sample +
                 "'");
    }
    const auto [m, first] = g.markers.emplace(harvestor::LowerCase(marker), lines.number());
    if (!first) {
      lines.fail(where(layout.marker) + ": marker '" + marker + "' of result '" + name +
                 "' is on line " + std::to_string(m->second) + " too");
    }

    const std::int16_t dye =
        layout.dye < 0 ? std::int16_t{1} : dyeOf(cell(layout.dye), where(layout.dye), lines);
    const auto number = [&](int column, const std::string& allele) {
      if (column < 0 || cell(column).empty()) return 0.0F;
      const std::string& text = cell(column);
      if (allele.empty()) {
        lines.fail(where(column) + ": '" + text + "' given for an empty allele");
      }
      float value = 0;
      if (const std::string fault = singleFault(text, value); !fault.empty()) {
        lines.fail(where(column) + ": " + fault);
      }
      return value;
    };
    bool called = false;
    for (const auto& [n, columns] : layout.alleles) {
      const std::string& allele = cell(columns.allele);
      const float size = number(columns.size, allele);
      const float height = number(columns.height, allele);
      const float area = number(columns.area, allele);
      if (allele.empty()) continue;
      StoredFragment& f = g.result.fragments.emplace_back();
      f.locus = marker;
      f.alleleId = allele;
      f.dye = dye;
      f.size = size;
      f.height = height;
      f.area = area;
      called = true;
    }
    if (!called) {
      StoredFragment& f = g.result.fragments.emplace_back();
      f.locus = marker;
      f.dye = dye;
    }
  }
  for (const Gathered& g : results) add(g.result);
}

}  // namespace workstation
