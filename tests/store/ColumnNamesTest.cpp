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

TEST(ColumnNamesTest, AnUnknownHeadingIsNamedWithTheKnownNameItIsCloseTo) {
  const ColumnNames names({"Subject ID", "Result Name", "Pedigree ID", "Father ID", "Mother ID",
                           "Gender", "Dye", "Fragment Size"});
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"Pedigre ID", "unknown column 'Pedigre ID' (did you mean 'Pedigree ID'?)"},
      {"PedigreeID", "unknown column 'PedigreeID' (did you mean 'Pedigree ID'?)"},
      {"pedigree_id", "unknown column 'pedigree_id' (did you mean 'Pedigree ID'?)"},
      {"Pedigree", "unknown column 'Pedigree' (did you mean 'Pedigree ID'?)"},
      {"Pedgiree ID", "unknown column 'Pedgiree ID' (did you mean 'Pedigree ID'?)"},
      {"Gendre", "unknown column 'Gendre' (did you mean 'Gender'?)"},
      {"Dey", "unknown column 'Dey' (did you mean 'Dye'?)"},
      {"Fragment-Sise", "unknown column 'Fragment-Sise' (did you mean 'Fragment Size'?)"},
      // Equally close to two names: the first listed.
      {"Mather ID", "unknown column 'Mather ID' (did you mean 'Father ID'?)"},
      // Too far, or too short for two edits.
      {"Favourite colour", "unknown column 'Favourite colour'"},
      {"Pedigree No.", "unknown column 'Pedigree No.'"},
      {"Day", "unknown column 'Day'"},
      {"Gene", "unknown column 'Gene'"},
      {"Size", "unknown column 'Size'"},
      {"", "unknown column ''"},
  };
  for (const auto& [heading, message] : cases) {
    EXPECT_EQ(names.find(heading), nullptr) << heading;
    EXPECT_EQ(names.unknown(heading), message);
  }
  ASSERT_NE(names.find("pedigree id"), nullptr);
  EXPECT_EQ(*names.find("pedigree id"), "Pedigree ID");
}

enum class Table { Fragments, Results, Subjects, Traces, Calls, Populations };

struct HeaderCase {
  Table table;
  std::string header;
  std::vector<std::string> warnings;  // each after "FILE:"
  std::string refusal;                // after "FILE:"; empty when the table is read
};

const std::vector<HeaderCase> kHeaders = {
    {Table::Subjects,
     "Subject ID\tPedigre ID",
     {"1: unknown column 'Pedigre ID' (did you mean 'Pedigree ID'?)"},
     ""},
    {Table::Subjects,
     "Subject ID\tAffectation status\tLiability_Class\tpopulation",
     {"1: unknown column 'Liability_Class' (did you mean 'Liability Class'?)",
      "1: unknown column 'population' (did you mean 'Population ID'?)"},
     ""},
    {Table::Subjects, "subject id\tpedigree id\tFATHER ID\tResult Name", {}, ""},
    {Table::Subjects, "Subject ID\tFavourite colour\tTissue", {}, ""},
    {Table::Subjects,
     "Subject ID\tResult Nmae",
     {"1: unknown column 'Result Nmae' (did you mean 'Result Name'?)"},
     ""},
    {Table::Subjects,
     "Subjct ID\tPedigree ID",
     {"1: unknown column 'Subjct ID' (did you mean 'Subject ID'?)"},
     "1: missing required column 'Subject ID'"},
    {Table::Fragments,
     "Result Name\tSubject ID\tFragment Sise",
     {},
     "1: unknown column 'Fragment Sise' (did you mean 'Fragment Size'?)"},
    {Table::Fragments,
     "Result Name\tSubject ID\tPeak_Height",
     {},
     "1: unknown column 'Peak_Height' (did you mean 'Peak Height'?)"},
    {Table::Fragments, "Result Name\tSubject ID\tSise", {}, "1: unknown column 'Sise'"},
    {Table::Fragments, "result name\tSUBJECT ID\tpeak area\tallele id", {}, ""},
    {Table::Results,
     "Result Name\tExclude",
     {},
     "1: unknown column 'Exclude' (did you mean 'Excluded'?)"},
    {Table::Traces,
     "Result Name\tDye\tScan\tValeu",
     {},
     "1: unknown column 'Valeu' (did you mean 'Value'?)"},
    {Table::Traces, "Result Name\tDye\tScan\tValue\tFoo", {}, "1: unknown column 'Foo'"},
    {Table::Calls,
     "Sample Name\tMarker\tAllele 1\tAlele 2",
     {"1: unknown column 'Alele 2' (did you mean 'Allele 2'?)"},
     ""},
    {Table::Calls,
     "Sample Name\tMarker\tAllele1\tSample_File",
     {"1: unknown column 'Allele1' (did you mean 'Allele 1'?)",
      "1: unknown column 'Sample_File' (did you mean 'Sample File'?)"},
     "1: no allele column ('Allele 1', 'Allele 2', ...)"},
    {Table::Calls, "Sample Name\tMarker\tAllele 1\tPanel", {"1: unknown column 'Panel'"}, ""},
    {Table::Calls, "sample name\tMARKER\tallele 1\tsize 1\tDYE", {}, ""},
    {Table::Populations,
     "Subject ID\tPopulation",
     {},
     "1: unknown column 'Population' (did you mean 'Population ID'?)"},
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
    for (const std::string& w : c.warnings) expected.push_back(path + ":" + w);
    EXPECT_EQ(warnings, expected);
    EXPECT_EQ(refusal, c.refusal.empty() ? "" : path + ":" + c.refusal);
  }
}

}  // namespace
}  // namespace workstation
