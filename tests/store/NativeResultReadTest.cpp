// Whole numbers in a native result file that the result's fields cannot hold
// are refused with ImportError, not converted.

#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/TestHost.h"
#include "workstation/store/NativeResultFile.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

using harvestor::testing::TestHost;
using harvestor::testing::WriteFile;

const std::string kHead = "Harvestor native result\t1\nResult Name\tR1\n";
const std::string kFragment = "Fragment\t1\tD1\t12\t\t0\t0\t101\t900\t9000\t1\n";

struct BadWhole {
  const char* what;
  std::string line;
};

class NativeResultReadTest : public ::testing::TestWithParam<BadWhole> {
 protected:
  TestHost host;
};

TEST_P(NativeResultReadTest, AWholeNumberOutOfRangeIsRefused) {
  const std::string path = host.Path("bad.zlu");
  WriteFile(path, kHead + GetParam().line + "\nEnd\n");
  EXPECT_THROW(readNativeResult(path), ImportError) << GetParam().line;
}

INSTANTIATE_TEST_SUITE_P(
    Fields, NativeResultReadTest,
    ::testing::Values(
        BadWhole{"revision", "Analysis Revision\t99999999999"},
        BadWhole{"revision fraction", "Analysis Revision\t2.5"},
        BadWhole{"trace dye", "Trace\t1e30\t1"}, BadWhole{"trace dye nan", "Trace\tnan\t1"},
        BadWhole{"fragment dye", "Fragment\t70000\tD1\t12\t\t0\t0\t101\t900\t9000\t1"},
        BadWhole{"condition code", "Fragment\t1\tD1\t12\t\t1e11\t0\t101\t900\t9000\t1"}),
    [](const ::testing::TestParamInfo<BadWhole>& param) {
      std::string name = param.param.what;
      for (char& c : name) c = c == ' ' ? '_' : c;
      return name;
    });

TEST(NativeResultRead, WholeNumbersInRangeAreRead) {
  TestHost host;
  const std::string path = host.Path("good.zlu");
  WriteFile(path, kHead + "Analysis Revision\t-2147483648\nTrace\t4\t1\n" + kFragment + "End\n");
  const ImportedResult result = readNativeResult(path);
  EXPECT_EQ(result.analysisRevision, INT32_MIN);
  EXPECT_EQ(result.traces[3].size(), 1u);
  ASSERT_EQ(result.fragments.size(), 1u);
  EXPECT_EQ(result.fragments[0].dye, 1);
}

}  // namespace
}  // namespace workstation
