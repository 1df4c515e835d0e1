// The native result reader takes only what the component can hold: every
// damaged, cut or out-of-range file is refused naming the file and the byte
// where the fault is.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/fakes/TestHost.h"
#include "workstation/store/NativeResultFile.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

using harvestor::testing::RefusalOf;
using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;
using namespace std::string_literals;

const std::string kGood =
    "Harvestor native result\t1\r\n"
    "Result Name\tR1\r\n"
    "Subject ID\tS1\r\n"
    "Analysis Revision\t2\r\n"
    "Area Scale\t1.5\r\n"
    "Property\tGender\tN\t1\r\n"
    "Property\tPedigree ID\tT\tF1\r\n"
    "Trace\t1\t5\t7.5\r\n"
    "Trace\t2\r\n"
    "Fragment\t2\tD1\t12\tline\\none\t512\t0\t101.5\t900\t9000\t1\r\n"
    "End\r\n";

struct BadFile {
  std::string from, to;  // the first `from` in the good file becomes `to`
  std::string at;        // the fault's byte is where this text starts ("": the end)
  std::string message;
};

std::string Scans(int n) {
  std::string s;
  while (n-- > 0) s += "\t0";
  return s;
}

const std::vector<BadFile> kBadFiles = {
    {"Fragment\t2\t", "Fragment\t70000\t", "70000",
     "Fragment 'Dye': '70000' is not a whole number from -32768 to 32767"},
    {"\t900\t", "\t1e39\t", "1e39", "Fragment 'Peak Height': '1e39' is beyond single precision"},
    {"101.5", "nan", "nan", "Fragment 'Fragment Size': 'nan' is not a finite number"},
    {"9000\t1\r", "9000\t1e300\r", "1e300", "Fragment 'Area Divisor': '1e300' is beyond single"},
    {"Revision\t2", "Revision\t99999999999", "99999999999",
     "Analysis Revision: '99999999999' is not a whole number from -2147483648 to 2147483647"},
    {"Revision\t2", "Revision\t2.5", "2.5", "Analysis Revision: '2.5' is not a whole number"},
    {"Trace\t2", "Trace\t1e30", "1e30", "Trace 'Dye': '1e30' is not a whole number from 1 to 4"},
    {"\t512\t", "\t4294967808\t", "4294967808",
     "Fragment 'Condition Code': '4294967808' is not a whole number from -2147483648"},
    {"\t512\t0\t", "\t512\t2\t", "2\t101.5", "Fragment 'Excluded': '2' is not a whole number"},
    {"1.5", "1e999", "1e999", "Area Scale: '1e999' is out of range"},
    {"\tN\t1", "\tN\tNaN", "NaN", "Property 'Value': 'NaN' is not a finite number"},
    {"\tN\t", "\tX\t", "X\t1", "a property's kind is N or T"},
    {"\t7.5", "\tinf", "inf", "Trace 'Value': 'inf' is not a finite number"},
    {"\t7.5", "\t3.5e38", "3.5e38", "Trace 'Value': '3.5e38' is beyond single precision"},
    {"Trace\t2", "Trace\t5", "5\r\nFragment", "Trace 'Dye': '5' is not a whole number from 1 to 4"},
    {"\t5\t7.5", "\t5\t\t7.5", "\t7.5", "Trace 'Value': '' is not a number"},
    {"Trace\t2", "Trace\t2" + Scans(1'000'001), "2\t0\t0", "a trace of more than 1000000 scans"},
    // Cut short or inconsistent.
    {"End\r\n", "", "", "the file ends before the result does"},
    {"\t9000\t1\r\nEnd\r\n", "\t90", "Fragment", "a 'Fragment' line has 10 fields, not 9"},
    {"Subject ID\tS1", "Subject ID\tS1\tS2", "Subject ID", "a 'Subject ID' line has 1 fields"},
    {"Trace\t2\r\n", "Trace\t1\r\n", "Trace\t1\r\n", "a second 'Trace 1' line"},
    {"Subject ID\tS1", "Result Name\tR2", "Result Name\tR2", "a second 'Result Name' line"},
    {"Result Name\tR1\r\n", "", "End", "the result has no 'Result Name' line"},
    {"End\r\n", "End\r\nmore\r\n", "more", "text after the end of the result"},
    {"End\r\n", "Fin\r\n", "Fin", "unknown line 'Fin'"},
    {"native result", "native", "Harvestor", "not a native result file"},
    {"\t1\r\nResult", "\t2\r\nResult", "2\r\n", "native result version '2' cannot be read"},
    {kGood, "", "", "not a native result file (it is empty)"},
    // Control characters and text that is not UTF-8.
    {"R1", "R\0X.A01_01"s, "\0"s, "a field holds control character 0x00 (NUL)"},
    {"R1", "R\\n1", "R\\n1", "Result Name: holds control character 0x0A (LF)"},
    {"S1", "S\r1", "\r1", "a field holds control character 0x0D (CR)"},
    {"\tD1\t", "\tD\\t1\t", "D\\t1", "Fragment 'Locus': holds control character 0x09 (TAB)"},
};

TEST(NativeResultFileTest, EveryBadFileIsRefusedWithTheFileAndByteOffset) {
  TestHost host;
  const std::string path = host.Path("R1.zlu");
  for (const BadFile& bad : kBadFiles) {
    SCOPED_TRACE(bad.message);
    std::string content = kGood;
    const auto where = content.find(bad.from);
    ASSERT_NE(where, std::string::npos);
    content.replace(where, bad.from.size(), bad.to);
    const auto offset = bad.at.empty() ? content.size() : content.find(bad.at);
    ASSERT_NE(offset, std::string::npos);
    WriteFile(path, content);
    const std::string what = RefusalOf<ImportError>([&] { readNativeResult(path); });
    EXPECT_EQ(what.rfind(path + ": byte " + std::to_string(offset) + " (line ", 0), 0u) << what;
    EXPECT_NE(what.find("): " + bad.message), std::string::npos) << what;
  }
}

// The native export's round trip is ExportResultsCommandTest's; here LF
// files and the escapes.
TEST(NativeResultFileTest, AGoodFileReadsWithEitherLineEnd) {
  TestHost host;
  std::string lf = kGood;
  for (auto at = lf.find('\r'); at != std::string::npos; at = lf.find('\r')) lf.erase(at, 1);
  for (const std::string& content : {kGood, lf}) {
    WriteFile(host.Path("R1.zlu"), content);
    const ImportedResult r = readNativeResult(host.Path("R1.zlu"));
    EXPECT_EQ(r.traces[0], (std::vector<float>{5, 7.5f}));
    ASSERT_EQ(r.fragments.size(), 1u);
    EXPECT_EQ(r.fragments[0].comment, "line\none");
    ASSERT_EQ(r.properties.size(), 2u);
    EXPECT_EQ(r.properties[0].Value.ToNumber(), 1.0);
  }
}

}  // namespace
}  // namespace workstation
