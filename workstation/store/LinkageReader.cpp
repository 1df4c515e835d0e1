#include "workstation/store/LinkageReader.h"

#include <string_view>
#include <unordered_map>
#include <unordered_set>

#include "harvestor/service/Text.h"
#include "workstation/store/ImportChecks.h"
#include "workstation/store/ImportLines.h"
#include "workstation/store/TwoAlleleCall.h"

namespace workstation {
namespace {

constexpr std::size_t kPedigreeColumns = 7;

std::vector<std::string_view> splitBlanks(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool missing(std::string_view field) { return field == "?" || field == "0"; }

const char* const kColumnNames[kPedigreeColumns] = {
    "pedigree ID", "individual ID",      "father ID",      "mother ID",
    "gender",      "affectation status", "liability class"};

}  // namespace

LinkageReader::LinkageReader(std::string pedigreePath, const std::string& lociPath)
    : path_(std::move(pedigreePath)) {
  ImportLines lines(lociPath);
  std::unordered_map<std::string, int> seen;
  while (lines.next()) {
    const std::string& name = lines.line();
    if (name.empty()) lines.fail("empty locus name");
    lines.checkText(name, "locus name");
    const auto [it, added] = seen.emplace(harvestor::LowerCase(name), lines.number());
    if (!added) {
      lines.fail("locus '" + name + "' is listed on line " + std::to_string(it->second) + " too");
    }
    loci_.push_back(name);
  }
}

void LinkageReader::read(const ResultSink& add) const {
  ImportLines lines(path_);
  const std::size_t expected = kPedigreeColumns + 2 * loci_.size();
  std::unordered_map<std::string, int> seen;
  while (lines.next()) {
    const std::vector<std::string_view> fields = splitBlanks(lines.line());
    if (fields.empty()) continue;
    if (fields.size() != expected) {
      std::string what = "expected " + std::to_string(expected) +
                         " columns (7 and two for each of " + std::to_string(loci_.size()) +
                         " loci), found " + std::to_string(fields.size());
      if (lines.line().find("Unknown Allele") != std::string::npos) {
        what += " (the allele 'Unknown Allele' holds a blank, which this format cannot carry)";
      }
      lines.fail(what);
    }
    const auto column = [&](std::size_t i) {
      std::string where = "column " + std::to_string(i + 1) + " (";
      if (i < kPedigreeColumns) return where + kColumnNames[i] + ")";
      const std::size_t locus = (i - kPedigreeColumns) / 2;
      return where + "allele " + std::to_string((i - kPedigreeColumns) % 2 + 1) + " of " +
             loci_[locus] + ")";
    };
    for (std::size_t i = 0; i < fields.size(); ++i) lines.checkText(fields[i], column(i));

    ImportedResult result;
    result.name = result.subjectId = std::string(fields[1]);
    const auto [it, added] = seen.emplace(harvestor::LowerCase(result.name), lines.number());
    if (!added) {
      lines.fail(column(1) + ": individual '" + result.name + "' is on line " +
                 std::to_string(it->second) + " too (IDs are compared without regard to case)");
    }
    const auto property = [&](const char* name, std::string_view value) {
      result.properties.push_back({name, harvestor::Variant::FromText(std::string(value))});
    };
    if (!missing(fields[0])) property("Pedigree ID", fields[0]);
    if (!missing(fields[2])) property("Father ID", fields[2]);
    if (!missing(fields[3])) property("Mother ID", fields[3]);
    if (fields[4] == "1" || fields[4] == "2") {
      property("Gender", fields[4]);
    } else if (!missing(fields[4])) {
      lines.fail(column(4) + ": '" + std::string(fields[4]) +
                 "' is not 1 (male), 2 (female), or ? or 0 (missing)");
    }
    if (fields[5] == "0" || fields[5] == "1" || fields[5] == "2") {
      property("Affectation Status", fields[5]);
    } else if (fields[5] != "?") {
      lines.fail(column(5) + ": '" + std::string(fields[5]) +
                 "' is not 0 (unknown), 1 (unaffected), 2 (affected) or ? (missing)");
    }
    std::int64_t liability = 0;
    if (const std::string fault = wholeFault(fields[6], INT16_MIN, INT16_MAX, liability);
        !fault.empty()) {
      lines.fail(column(6) + ": " + fault);
    }
    property("Liability Class", std::to_string(liability));

    for (std::size_t locus = 0; locus < loci_.size(); ++locus) {
      const std::string_view first = fields[kPedigreeColumns + 2 * locus];
      const std::string_view second = fields[kPedigreeColumns + 2 * locus + 1];
      addTwoAlleleCall(result, loci_[locus], first, second, missing);
    }
    add(result);
  }
}

}  // namespace workstation
