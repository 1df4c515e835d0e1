// A misspelt heading is named with the column it was meant as, whichever
// table holds it: a warning where the table takes columns of its own
// (subject properties, the calls table's ignored columns), a refusal where
// it does not; a heading that matches but for case is read without a word.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/TestHost.h"
#include "workstation/store/CallTableReader.h"
#include "workstation/store/ColumnNames.h"
#include "workstation/store/GenepopReader.h"
#include "workstation/store/StudyTables.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;

// The refusal or warning of an unknown heading, with the name it was meant as.
std::string Unknown(const std::string& heading, const std::string& meant = "") {
  return "unknown column '" + heading + "'" +
         (meant.empty() ? "" : " (did you mean '" + meant + "'?)");
}

TEST(ColumnNamesTest, AnUnknownHeadingIsNamedWithTheKnownNameItIsCloseTo) {
  const ColumnNames names({"Subject ID", "Result Name", "Pedigree ID", "Father ID", "Mother ID",
                           "Gender", "Dye", "Fragment Size"});
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"PedigreeID", "Pedigree ID"},
      {"pedigree_id", "Pedigree ID"},
      {"Pedigree", "Pedigree ID"},
      {"Pedgiree ID", "Pedigree ID"},
      {"Dey", "Dye"},
      // Equally close to two names: the first listed.
      {"Mather ID", "Father ID"},
      // Too far, or too short for two edits.
      {"Favourite colour", ""},
      {"Pedigree No.", ""},
      {"Day", ""},
      {"", ""},
  };
  for (const auto& [heading, meant] : cases) {
    EXPECT_EQ(names.find(heading), nullptr) << heading;
    EXPECT_EQ(names.unknown(heading), Unknown(heading, meant));
  }
  ASSERT_NE(names.find("pedigree id"), nullptr);
  EXPECT_EQ(*names.find("pedigree id"), "Pedigree ID");
}

enum class Table { Fragments, Results, Subjects, Traces, Calls, Populations };

// Every heading is on line 1: the warnings and refusal follow "FILE:1: ".
struct HeaderCase {
  Table table;
  std::string header;
  std::vector<std::string> warnings;
  std::string refusal;  // empty when the table is read
};

const std::vector<HeaderCase> kHeaders = {
    {Table::Subjects, "Subject ID\tPedigre ID", {Unknown("Pedigre ID", "Pedigree ID")}, ""},
    {Table::Subjects,
     "Subject ID\tAffectation status\tLiability_Class\tpopulation",
     {Unknown("Liability_Class", "Liability Class"), Unknown("population", "Population ID")},
     ""},
    {Table::Subjects, "subject id\tpedigree id\tFATHER ID\tResult Name", {}, ""},
    {Table::Subjects, "Subject ID\tFavourite colour\tTissue", {}, ""},
    {Table::Subjects,
     "Subjct ID\tPedigree ID",
     {Unknown("Subjct ID", "Subject ID")},
     "missing required column 'Subject ID'"},
    {Table::Fragments,
     "Result Name\tSubject ID\tFragment Sise",
     {},
     Unknown("Fragment Sise", "Fragment Size")},
    {Table::Fragments, "Result Name\tSubject ID\tSise", {}, Unknown("Sise")},
    {Table::Fragments, "result name\tSUBJECT ID\tpeak area\tallele id", {}, ""},
    {Table::Results, "Result Name\tExclude", {}, Unknown("Exclude", "Excluded")},
    {Table::Traces, "Result Name\tDye\tScan\tValeu", {}, Unknown("Valeu", "Value")},
    {Table::Calls, "Sample Name\tMarker\tAllele 1\tAlele 2", {Unknown("Alele 2", "Allele 2")}, ""},
    {Table::Calls,
     "Sample Name\tMarker\tAllele1\tSample_File",
     {Unknown("Allele1", "Allele 1"), Unknown("Sample_File", "Sample File")},
     "no allele column ('Allele 1', 'Allele 2', ...)"},
    // The software's own columns that hold nothing a study keeps pass without a word.
    {Table::Calls,
     "Sample Name\tPanel\tRun Name\tComments\tMarker\tAllele 1\tQuality",
     {Unknown("Quality")},
     ""},
    {Table::Calls, "sample name\tMARKER\tallele 1\tsize 1\tDYE", {}, ""},
    {Table::Populations, "Subject ID\tPopulation", {}, Unknown("Population", "Population ID")},
    {Table::Populations, "subject id\tpopulation id", {}, ""},
};

TEST(ColumnNamesTest, EachTableWarnsOfOrRefusesAMisspeltHeading) {
  for (const HeaderCase& c : kHeaders) {
    SCOPED_TRACE(c.header);
    TestHost host;
    const std::string path = host.Path("bad.tsv");
    WriteFile(path, c.header + "\n");
    std::vector<std::string> warnings;
    const ColumnWarning warn = [&](const std::string& message) { warnings.push_back(message); };
    const ResultSink ignore = [](const ImportedResult&) {};
    std::string refusal;
    try {
      if (c.table == Table::Calls) {
        CallTableReader(path, warn).read(ignore);
      } else if (c.table == Table::Populations) {
        const std::string genepop = host.Path("fish.gen");
        WriteFile(genepop, "fish\nLoc1\npop\na , 0101\n");
        GenepopReader(genepop, path).read(ignore);
      } else {
        StudyTableFiles files;
        files.fragments = host.Path("fragments.tsv");
        WriteFile(files.fragments, "Result Name\tSubject ID\n");
        (c.table == Table::Fragments  ? files.fragments
         : c.table == Table::Results  ? files.results
         : c.table == Table::Subjects ? files.subjects
                                      : files.traces) = path;
        StudyTablesReader(files, warn).read(ignore);
      }
    } catch (const ImportError& e) {
      refusal = e.what();
    }
    std::vector<std::string> expected;
    for (const std::string& w : c.warnings) expected.push_back(path + ":1: " + w);
    EXPECT_EQ(warnings, expected);
    EXPECT_EQ(refusal, c.refusal.empty() ? "" : path + ":1: " + c.refusal);
  }
}

}  // namespace
}  // namespace workstation
