// Every value of an import table is checked before anything is stored: each
// bad table is refused naming the file, the line and the column, and the
// tables a lab's software writes (byte-order mark, CR LF) are read as meant.
#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

#include "tests/fakes/TestHost.h"
#include "tests/store/StoreFixture.h"
#include "workstation/store/ImportChecks.h"
#include "workstation/store/StudyTables.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

using harvestor::testing::RefusalOf;
using namespace std::string_literals;

enum class Table { Fragments, Results, Subjects, Traces };

struct BadTable {
  Table table;
  std::string content;
  std::string message;  // after "FILE:"
};

const std::string kFragments = "Result Name\tSubject ID\n";
const std::string kTraces = "Result Name\tDye\tScan\tValue\n";

// A table of one row whose one cell of column is bad: the message on line 2.
BadTable Cell(Table table, const std::string& column, const std::string& value,
              const std::string& reason) {
  const std::string keys = table == Table::Results ? "Result Name\t" : "Result Name\tSubject ID\t";
  const std::string row = table == Table::Results ? "R1\t" : "R1\tS1\t";
  return {table, keys + column + "\n" + row + value + "\n",
          "2: column '" + column + "': '" + value + "' " + reason};
}

const Table F = Table::Fragments, R = Table::Results, T = Table::Traces;
const std::string kWhole = "is not a whole number from ";

const std::vector<BadTable> kBadTables = {
    // Numbers beyond the type the component reads them as.
    Cell(F, "Peak Height", "-1e40", "is beyond single precision"),
    Cell(F, "peak area", "3.5e38", "is beyond single precision"),
    Cell(F, "Area Divisor", "1e400", "is out of range"),
    Cell(F, "Fragment Size", "nan", "is not a finite number"),
    Cell(F, "Peak Area", "-Infinity", "is not a finite number"),
    Cell(F, "Dye", "70000", kWhole + "-32768 to 32767"),
    Cell(F, "Dye", "1.5", kWhole + "-32768 to 32767"),
    Cell(F, "Condition Code", "4294967296", kWhole + "-2147483648 to 2147483647"),
    Cell(R, "Analysis Revision", "99999999999", kWhole + "-2147483648"),
    Cell(R, "Area Scale", "nan", "is not a finite number"),
    Cell(R, "Excluded", "maybe", "is not 0/1, true/false or yes/no"),
    // A result's rows apart: the later ones are read on their own lines.
    {F, "Result Name\tSubject ID\tDye\nR1\tS1\t1\nR2\tS2\t1\n\nR1\tS1\tblue\n",
     "5: column 'Dye': 'blue' is not a whole number"},
    {F, kFragments + "R1\tS1\nR2\tS2\n\r\nR1\t\n",
     "5: result 'R1' has subject ID 'S1' and also ''"},
    {F, kFragments + "R1\tS1\nR2\tS2\nR1\tS1\tx\n", "4: expected 2 fields, found 3"},
    {F, "Locus\tResult Name\tSubject ID\nD1\tR1\n", "2: expected 3 fields, found 2"},
    // Control characters and text that is not UTF-8.
    {F, kFragments + "R\0X.A01_01\tS1\n"s,
     "2: column 'Result Name': holds control character 0x00 (NUL) at byte 2"},
    {F, kFragments + "R1\tS\r1\r\n",
     "2: column 'Subject ID': holds control character 0x0D (CR) at byte 2"},
    {F, kFragments + "R1\x1b[2J\tS1\n",
     "2: column 'Result Name': holds control character 0x1B (ESC) at byte 3"},
    {F,
     "Result Name\tSubject ID\tLocus\nR1\tS1\tD\x7f"
     "1\n",
     "2: column 'Locus': holds control character 0x7F (DEL) at byte 2"},
    {F, kFragments + "R\xe9sum\xe9\tS1\n",
     "2: column 'Result Name': holds byte 0xE9 that is not valid UTF-8 at byte 2"},
    {F, kFragments + "R1\tS\xc0\xaf\n",
     "2: column 'Subject ID': holds byte 0xC0 that is not valid UTF-8 at byte 2"},
    {F, kFragments + "R1\t\xed\xa0\x80\n",
     "2: column 'Subject ID': holds byte 0xED that is not valid UTF-8 at byte 1"},
    {F, kFragments + "R1\tS1\xe2\x82\n",
     "2: column 'Subject ID': holds byte 0xE2 that is not valid UTF-8 at byte 3"},
    {Table::Subjects, "Subject ID\tPedigree\x01ID\nS1\tF1\n",
     "1: column 2: heading holds control character 0x01 (SOH) at byte 9"},
    {F, "\xef\xbb\xbf\xef\xbb\xbfResult Name\tSubject ID\nR1\tS1\n",
     "1: unknown column '\xef\xbb\xbfResult Name'"},
    // Traces: sparse, repeated, absurdly long or incomplete scans.
    {T, kTraces + "R1\t1\t10000000\t5\n",
     "2: column 'Scan': '10000000' is not a whole number from 0 to 999999"},
    {T, kTraces + "R1\t1\t0\t5\nR1\t1\t2\t5\n",
     "3: column 'Scan': dye 1 of result 'R1' has no scan 1 (a trace lists every scan from 0 up)"},
    {T, kTraces + "R1\t2\t5\t1\n", "2: column 'Scan': dye 2 of result 'R1' has no scan 0"},
    {T, kTraces + "R1\t1\t0\t5\nR1\t1\t1\t5\nR1\t1\t0\t6\n",
     "4: column 'Scan': scan 0 of dye 1 of result 'R1' is listed on line 2 too"},
    {T, kTraces + "R1\t1\t\t5\n", "2: column 'Scan': empty"},
    {T, kTraces + "R1\t1\t0\t\n", "2: column 'Value': empty"},
    {T, kTraces + "R1\t5\t0\t1\n", "2: column 'Dye': '5' is not a whole number from 1 to 4"},
    {T, kTraces + "R1\t1\t0\t1e39\n", "2: column 'Value': '1e39' is beyond single precision"},
};

class TableValidationTest : public StoreTest {
 protected:
  StudyTableFiles tables(Table bad, const std::string& content) {
    StudyTableFiles files;
    files.fragments = write("fragments.tsv", kFragments + "R1\tS1\n");
    std::string* target = bad == Table::Fragments  ? &files.fragments
                          : bad == Table::Results  ? &files.results
                          : bad == Table::Subjects ? &files.subjects
                                                   : &files.traces;
    *target = write("bad.tsv", content);
    return files;
  }
};

TEST_F(TableValidationTest, EveryBadValueIsRefusedWithFileLineAndColumn) {
  for (const BadTable& bad : kBadTables) {
    SCOPED_TRACE(bad.message);
    const std::string what =
        RefusalOf<ImportError>([&] { readStudyTables("Bad", tables(bad.table, bad.content)); });
    EXPECT_EQ(what.rfind(host.Path("bad.tsv") + ":" + bad.message, 0), 0u) << what;
  }
}

TEST_F(TableValidationTest, ByteOrderMarkAndEitherLineEndAreAccepted) {
  for (const std::string eol : {"\n", "\r\n"}) {
    StudyTableFiles files;
    files.fragments =
        write("fragments.tsv", "\xef\xbb\xbfResult Name\tSubject ID\tPeak Height" + eol +
                                   "R1\tS\xc3\xb8"
                                   "1\t3.4e38" +
                                   eol);
    files.traces = write("traces.tsv", "\xef\xbb\xbf" + kTraces.substr(0, kTraces.size() - 1) +
                                           eol + "R1\t1\t1\t2" + eol + "R1\t1\t0\t1e-50" + eol);
    const ImportedStudy study = readStudyTables("Good", files);
    ASSERT_EQ(study.results.size(), 1u);
    EXPECT_EQ(study.results[0].subjectId,
              "S\xc3\xb8"
              "1");
    EXPECT_FLOAT_EQ(study.results[0].fragments.at(0).height, 3.4e38f);
    EXPECT_EQ(study.results[0].traces[0], (std::vector<float>{0, 2}));
  }
}

TEST(NumberChecksTest, DecimalsReadAsTheLibraryReadsThemToTheLastBit) {
  // Plain decimals take a shorter road than other numbers; both must give
  // the value from_chars gives, in double and in single precision.
  std::vector<std::string> texts;
  std::istringstream edges(
      "0 -0 -0.00 007 0.1 2.675 123456789012345 1234567890123456 1e5 9007199254740993 "
      "0.000000000000001 1. .5 -.5 5.0e-1 340282356779733661637");
  for (std::string text; edges >> text;) texts.push_back(text);
  std::uint64_t seed = 12345;
  for (int i = 0; i < 20000; ++i) {
    seed = seed * 6364136223846793005u + 1442695040888963407u;
    const std::string digits = std::to_string(seed >> (seed % 40));
    const std::size_t point = (seed >> 50) % (digits.size() + 1);
    std::string text = (seed & 1 ? "-" : "") + digits.substr(0, point);
    if (point < digits.size()) text += (point == 0 ? "0." : ".") + digits.substr(point);
    texts.push_back(text);
  }
  for (const std::string& text : texts) {
    SCOPED_TRACE(text);
    double expected = 0;
    std::from_chars(text.data(), text.data() + text.size(), expected);
    double wide = 0;
    float single = 0;
    ASSERT_EQ(numberFault(text, wide), "");
    EXPECT_EQ(std::memcmp(&wide, &expected, sizeof wide), 0) << wide << " " << expected;
    if (std::fabs(expected) <= std::numeric_limits<float>::max()) {
      ASSERT_EQ(singleFault(text, single), "");
      const auto narrowed = static_cast<float>(expected);
      EXPECT_EQ(std::memcmp(&single, &narrowed, sizeof single), 0);
    }
  }
}

TEST_F(TableValidationTest, LinesLongerThanTheReadBufferAndALastLineWithoutEnd) {
  // R1's second row, past several buffers of rows and blank lines, is read
  // again after the first pass; the last line has no line end.
  const std::string longComment(3 << 20, 'c');
  std::string table = "Result Name\tSubject ID\tComment\tDye\tExcluded\n";
  table += "R1\tS1\t" + longComment + "\t+3\t1\n";
  for (int i = 0; i < 40000; ++i) table += "R2\tS2\tplain row " + std::to_string(i) + "\t007\t0\n";
  table += "\n\r\nR1\tS1\tlast\t-2\tYes";
  StudyTableFiles files;
  files.fragments = write("fragments.tsv", table);
  const ImportedStudy study = readStudyTables("Long", files);
  ASSERT_EQ(study.results.size(), 2u);
  const auto& r1 = study.results[0].fragments;
  const auto& r2 = study.results[1].fragments;
  ASSERT_TRUE(r1.size() == 2 && r2.size() == 40000);
  EXPECT_TRUE(r1[0].comment == longComment && r1[0].dye == 3 && r1[0].excluded);
  EXPECT_TRUE(r1[1].comment == "last" && r1[1].dye == -2 && r1[1].excluded);
  EXPECT_TRUE(r2.back().comment == "plain row 39999" && r2.back().dye == 7 && !r2.back().excluded);
}

}  // namespace
}  // namespace workstation
