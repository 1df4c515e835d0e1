#include "workstation/store/GenepopReader.h"

#include <string_view>
#include <unordered_map>

#include "harvestor/service/Text.h"
#include "workstation/store/ImportLines.h"
#include "workstation/store/TsvTable.h"
#include "workstation/store/TwoAlleleCall.h"

namespace workstation {
namespace {

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  return text;
}

bool isPopLine(std::string_view line) {
  const std::string_view text = trimmed(line);
  if (line.find(',') != std::string_view::npos || text.size() < 3) return false;
  if (!harvestor::EqualsNoCase(text.substr(0, 3), "pop")) return false;
  return text.size() == 3 || text[3] == ' ' || text[3] == '\t';
}

std::vector<std::string_view> splitBlanks(std::string_view text) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < text.size() && text[i] != ' ' && text[i] != '\t') ++i;
    if (i > start) fields.push_back(text.substr(start, i - start));
  }
  return fields;
}

bool allZeros(std::string_view allele) { return allele.find_first_not_of('0') == allele.npos; }

}  // namespace

struct GenepopReader::Individual {
  int section = 0;  // from 0
  std::string name;
  std::string_view genotypes;
};

GenepopReader::GenepopReader(std::string path, std::string populationsPath)
    : path_(std::move(path)), populations_(std::move(populationsPath)) {}

template <class Visit>
void GenepopReader::scan(Visit visit) {
  ImportLines lines(path_);
  if (!lines.next()) lines.fail(1, "no title line");
  loci_.clear();
  std::unordered_map<std::string, int> loci, names;
  int section = -1;
  while (lines.next()) {
    const std::string& line = lines.line();
    if (trimmed(line).empty()) continue;
    if (isPopLine(line)) {
      if (loci_.empty()) lines.fail("no loci before the first 'Pop' line");
      ++section;
      continue;
    }
    if (section < 0) {
      std::size_t start = 0;
      while (start <= line.size()) {
        const std::size_t comma = std::min(line.find(',', start), line.size());
        const std::string name(trimmed(std::string_view(line).substr(start, comma - start)));
        if (name.empty()) lines.fail("empty locus name");
        lines.checkText(name, "locus name");
        const auto [it, added] = loci.emplace(harvestor::LowerCase(name), lines.number());
        if (!added) {
          lines.fail("locus '" + name + "' is listed on line " + std::to_string(it->second) +
                     " too");
        }
        loci_.push_back(name);
        start = comma + 1;
      }
      continue;
    }
    const std::size_t comma = line.find(',');
    if (comma == std::string::npos) {
      lines.fail("neither a 'Pop' line nor an individual ('name , genotypes')");
    }
    Individual individual{section, std::string(trimmed(std::string_view(line).substr(0, comma))),
                          std::string_view(line).substr(comma + 1)};
    if (individual.name.empty()) lines.fail("column 1 (name): empty");
    lines.checkText(individual.name, "column 1 (name)");
    const auto [it, added] = names.emplace(harvestor::LowerCase(individual.name), lines.number());
    if (!added) {
      lines.fail("column 1 (name): individual '" + individual.name + "' is on line " +
                 std::to_string(it->second) + " too (names are compared without regard to case)");
    }
    visit(individual, lines);
  }
  if (section < 0) lines.fail(lines.number(), "no 'Pop' line");
}

std::vector<std::string> GenepopReader::sectionNames() {
  struct Listed {
    std::string population;
    int line = 0;
    bool found = false;
  };
  TsvTable table(populations_, {{"Subject ID", true}, {"Population ID", true}});
  const int subject = table.column("Subject ID"), population = table.column("Population ID");
  std::unordered_map<std::string, Listed> listed;
  while (table.next()) {
    const std::string id = table.text(subject), name = table.text(population);
    if (id.empty()) table.failCell(subject, "empty");
    if (name.empty()) table.failCell(population, "empty");
    const auto [it, added] = listed.emplace(id, Listed{name, table.line()});
    if (!added) {
      table.fail(table.line(), "subject '" + id + "' is listed on line " +
                                   std::to_string(it->second.line) + " too");
    }
  }
  // The name each section takes, and the individual that gave it.
  std::vector<std::pair<std::string, std::string>> sections;
  scan([&](const Individual& individual, const ImportLines& lines) {
    if (sections.size() <= static_cast<std::size_t>(individual.section)) {
      sections.resize(static_cast<std::size_t>(individual.section) + 1);
    }
    const auto it = listed.find(individual.name);
    if (it == listed.end()) return;
    it->second.found = true;
    auto& [name, giver] = sections[static_cast<std::size_t>(individual.section)];
    if (giver.empty()) {
      name = it->second.population;
      giver = individual.name;
    } else if (name != it->second.population) {
      lines.fail("column 1 (name): individual '" + individual.name + "' is in population '" +
                 it->second.population + "' (" + populations_ + ":" +
                 std::to_string(it->second.line) + "), but '" + giver +
                 "' of the same section is in '" + name + "'");
    }
  });
  for (const auto& [id, entry] : listed) {
    if (!entry.found) table.fail(entry.line, "no individual '" + id + "' in " + path_);
  }
  std::vector<std::string> names;
  for (const auto& [name, giver] : sections) names.push_back(name);
  return names;
}

void GenepopReader::read(const ResultSink& add) {
  std::vector<std::string> names;
  if (!populations_.empty()) names = sectionNames();
  std::size_t width = 0;  // digits of a genotype, fixed by the file's first
  scan([&](const Individual& individual, const ImportLines& lines) {
    const std::vector<std::string_view> genotypes = splitBlanks(individual.genotypes);
    if (genotypes.size() != loci_.size()) {
      lines.fail("expected " + std::to_string(loci_.size()) + " genotypes (one per locus), found " +
                 std::to_string(genotypes.size()));
    }
    const auto section = static_cast<std::size_t>(individual.section);
    const std::string population = section < names.size() && !names[section].empty()
                                       ? names[section]
                                       : "Pop" + std::to_string(section + 1);
    ImportedResult result;
    result.name = result.subjectId = individual.name;
    result.properties = {{"Population ID", harvestor::Variant::FromText(population)},
                         {"Pedigree ID", harvestor::Variant::FromText(population)}};
    for (std::size_t locus = 0; locus < loci_.size(); ++locus) {
      const std::string_view genotype = genotypes[locus];
      const std::string where =
          "column " + std::to_string(locus + 2) + " (locus " + loci_[locus] + ")";
      lines.checkText(genotype, where);
      if ((genotype.size() != 4 && genotype.size() != 6) ||
          genotype.find_first_not_of("0123456789") != genotype.npos) {
        lines.fail(where + ": '" + std::string(genotype) +
                   "' is not a genotype of two 2-digit or two 3-digit alleles");
      }
      if (width == 0) width = genotype.size();
      if (genotype.size() != width) {
        lines.fail(where + ": '" + std::string(genotype) + "' has " +
                   std::to_string(genotype.size()) + " digits where this file's genotypes have " +
                   std::to_string(width));
      }
      const std::string_view first = genotype.substr(0, width / 2);
      const std::string_view second = genotype.substr(width / 2);
      addTwoAlleleCall(result, loci_[locus], first, second, allZeros);
    }
    add(result);
  });
}

}  // namespace workstation
