// The result export's format table and naming rules.
#include <gtest/gtest.h>

#include "harvestor/resultexport/OutputNaming.h"
#include "harvestor/resultexport/ResultsFormatIDs.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

using namespace OutputNaming;

TEST(NamingTest, AnUnknownFormatIsNamedInAMessage) {
  // The known formats' extensions and filters are the options page's tests'.
  testing::TestHost host;
  EXPECT_EQ(ResultsFormatIDs::GetFormatNameByEnum(ZAL_BASE), "ZAL");
  EXPECT_TRUE(host.ui.messages.empty());
  EXPECT_EQ(ResultsFormatIDs::GetFormatExtensionByIndex(4), "");
  EXPECT_EQ(ResultsFormatIDs::GetFormatNameByEnum(SCF_V210), "");
  EXPECT_EQ(ResultsFormatIDs::GetFormatEnumByIndex(0), 0);
  std::vector<testing::FakeUserInterface::Message> expected;
  for (const char* where :
       {"GetFormatExtensionByIndex", "GetFormatNameByEnum", "GetFormatEnumByIndex"})
    expected.push_back(
        {"Unknown format. Harvestor." + std::string(where) + ".", MsgBoxStyle::OKOnly, ""});
  EXPECT_EQ(host.ui.messages, expected);
}

TEST(NamingTest, PlaceholderSuffixAndCleaning) {
  testing::TestHost host;
  const std::string path =
      SubstituteForDefaultName("C:\\Export\\{Result Name}.txt", "Sample 7.B03_0407221455  ");
  EXPECT_EQ(path, "C:\\Export\\Sample 7.B03_0407221455.txt");
  EXPECT_EQ(RemoveSuffix(path), "C:\\Export\\Sample 7.txt");
  EXPECT_EQ(SubstituteForDefaultName("/x/{result name}/{RESULT NAME}.txt", "R1"), "/x/R1/R1.txt");
  EXPECT_EQ(SubstituteForDefaultName("/x/Fixed.txt", "R1"), "/x/Fixed.txt");
  EXPECT_EQ(SuffixIndex("S.b03_0407221455"), -1);  // lower case is no suffix
  EXPECT_EQ(RemoveSuffix("A.B03_0407221455.C12_0101011259x"), "A.C12_0101011259x");
  EXPECT_EQ(RemoveSuffix(".H19_99193929|Z rest"), " rest");
  EXPECT_EQ(SuffixIndex(".H19_99193929|Z rest"), 0);

  EXPECT_EQ(CorrectForbiddenFileNameCharacters(" Run 1. "), " Run 1. ");
  EXPECT_TRUE(host.Log().empty());
  EXPECT_EQ(CorrectForbiddenFileNameCharacters("a/b:c*d?e\"f<g>h|i\\j"), "a_b_c_d_e_f_g_h_i_j");
  EXPECT_EQ(host.Log(),
            std::vector<std::string>{"Replacing illegal file name character(s) in result name with "
                                     "underscore character(s) (\"_\")"});
}

TEST(NamingTest, FreeNamesAndTheCrvSet) {
  testing::TestHost host;
  const std::string run1 = host.Path("Run1.txt");
  EXPECT_EQ(ResolveFileNames(run1), run1);
  for (const char* name : {"Run1.txt", "Run1_1.txt", "Run1_2.txt"})
    testing::WriteFile(host.Path(name), "");
  EXPECT_EQ(ResolveFileNames(run1), host.Path("Run1_3.txt"));

  const std::string plate = host.Path("Plate7.CRV");
  EXPECT_EQ(ResolveFileNamesCRV(plate), plate);
  EXPECT_EQ(ConfirmCRVOverwrite(plate), 1);
  EXPECT_TRUE(host.ui.messages.empty());
  testing::WriteFile(host.Path("Plate7_D1.CRV"), "");
  EXPECT_EQ(ResolveFileNamesCRV(plate), host.Path("Plate7_1.CRV"));

  testing::WriteFile(host.Path("Plate7_1_D1.CRV"), "");
  testing::WriteFile(host.Path("Plate7_2_CRV_TRACE_ORDER.txt"), "");
  EXPECT_EQ(ResolveFileNamesCRV(plate), host.Path("Plate7_3.CRV"));

  const std::string other = host.Path("Other.CRV");
  testing::WriteFile(host.Path("Other_CRV_TRACE_ORDER.txt"), "");
  host.ui.answers = {MsgBoxResult::Cancel};
  EXPECT_EQ(ConfirmCRVOverwrite(other), 2);
  EXPECT_EQ(host.ui.messages,
            (std::vector<testing::FakeUserInterface::Message>{
                {"CRV export will overwrite the following existed file names:\r\n\r\n" +
                     host.Path("Other_CRV_TRACE_ORDER.txt") +
                     "\r\n\r\n[OK] to overwrite file. [Cancel] to abort CRV export.\r\n",
                 MsgBoxStyle::OKCancel | MsgBoxStyle::DefaultButton2, "Export Results"}}));
}

}  // namespace
}  // namespace harvestor
