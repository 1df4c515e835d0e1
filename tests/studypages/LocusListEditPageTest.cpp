// The locus list editor: the three lists, the six buttons and saving.
#include <gtest/gtest.h>

#include <filesystem>

#include "harvestor/studypages/LocusListEditPage.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

using Items = std::vector<std::string>;

class LocusListEditPageTest : public ::testing::Test {
 protected:
  void Open(const std::string* file, Items loci) {
    if (file) host.WriteLocusList(*file);
    host.libraries.studyLoci = std::move(loci);
    page = std::make_unique<LocusListEditPage>();
    page->IPageAccess_Page().RaiseInitialize();
  }
  void Select(ListBox& box, Items names) {
    for (std::int16_t i = 0; i < box.ListCount(); ++i) {
      box.Selected(i, std::find(names.begin(), names.end(), box.List(i)) != names.end());
    }
  }
  std::string ListFile() const { return testing::ReadFile(host.exportFolder + "/LocusList.txt"); }

  testing::TestHost host;
  std::unique_ptr<LocusListEditPage> page;
};

TEST_F(LocusListEditPageTest, TheListsStartFromTheFileAndTheStudy) {
  const std::string file = "D8\r\nVWA\r\nD8\r\nX9\r\n";
  Open(&file, {"vWA", "TH01", "D8", "D21", "FGA"});
  EXPECT_EQ(page->lstSelected.Items(), (Items{"D8", "VWA", "D8", "X9"}));
  EXPECT_EQ(page->lstPossible.Items(), (Items{"D21", "FGA", "TH01"}));
  EXPECT_TRUE(page->lstOther.Items().empty());
  EXPECT_EQ(host.libraries.queries, Items{"CurrentLoci|||Name|0|True"});
  EXPECT_FALSE(page->lblFileDateTime.Caption().empty());
  EXPECT_EQ(host.ui.pointers, std::vector<std::int32_t>{1});
  host.ui.pointer = 11;
  page.reset();
  EXPECT_EQ(host.ui.pointers.back(), MousePointer::Default);  // restored as the page goes
}

TEST_F(LocusListEditPageTest, AMissingFileIsCreatedEmpty) {
  Open(nullptr, {"D1"});
  EXPECT_TRUE(std::filesystem::is_regular_file(host.exportFolder + "/LocusList.txt"));
  EXPECT_EQ(ListFile(), "");
  EXPECT_EQ(page->lstPossible.Items(), Items{"D1"});
}

TEST_F(LocusListEditPageTest, MovingLociBetweenTheLists) {
  const std::string file = "X9\r\n";
  Open(&file, {"D8", "D21", "vWA", "FGA"});
  Select(page->lstPossible, {"D8", "D21"});  // shown as D21, D8
  page->btnToList.Click();
  EXPECT_EQ(page->lstSelected.Items(), (Items{"X9", "D8", "D21"}));
  EXPECT_EQ(page->lstPossible.Items(), (Items{"FGA", "vWA"}));

  Select(page->lstSelected, {"X9", "D21"});
  page->btnToTree.Click();
  EXPECT_EQ(page->lstSelected.Items(), Items{"D8"});
  EXPECT_EQ(page->lstPossible.Items(), (Items{"D21", "FGA", "vWA"}));
  EXPECT_EQ(page->lstOther.Items(), Items{"X9"});

  page->btnAllToList.Click();
  EXPECT_EQ(page->lstSelected.Items(), (Items{"D8", "D21", "FGA", "vWA", "X9"}));
  EXPECT_TRUE(page->lstPossible.Items().empty() && page->lstOther.Items().empty());
  page->btnAllToTree.Click();
  EXPECT_TRUE(page->lstSelected.Items().empty());
  EXPECT_EQ(page->lstPossible.Items(), (Items{"D21", "D8", "FGA", "vWA"}));
  EXPECT_EQ(page->lstOther.Items(), Items{"X9"});
}

TEST_F(LocusListEditPageTest, ReorderingMovesOneLocusAndStopsAtTheEnds) {
  const std::string file = "A\r\nB\r\nC\r\n";
  Open(&file, {});
  Select(page->lstSelected, {"A"});
  page->btnUpOrder.Click();
  EXPECT_EQ(page->lstSelected.Items(), (Items{"A", "B", "C"}));
  page->btnDownOrder.Click();
  EXPECT_EQ(page->lstSelected.Items(), (Items{"B", "A", "C"}));
  EXPECT_TRUE(page->lstSelected.Selected(1));
  page->btnDownOrder.Click();
  page->btnDownOrder.Click();  // the last stays last
  EXPECT_EQ(page->lstSelected.Items(), (Items{"B", "C", "A"}));
  page->btnUpOrder.Click();
  EXPECT_EQ(page->lstSelected.Items(), (Items{"B", "A", "C"}));

  Select(page->lstSelected, {"B", "C"});
  page->btnUpOrder.Click();
  page->btnDownOrder.Click();
  EXPECT_EQ(page->lstSelected.Items(), (Items{"B", "A", "C"}));
  const testing::FakeUserInterface::Message onlyOne{"Please select only one locus to move.",
                                                    MsgBoxStyle::OKOnly, ""};
  EXPECT_EQ(host.ui.messages, (std::vector{onlyOne, onlyOne}));
}

TEST_F(LocusListEditPageTest, SavingAsksBeforeOverwritingAndWritesTheSelectedLoci) {
  const std::string file = "D1\r\nD1\r\n";
  Open(&file, {"D2"});
  page->btnAllToList.Click();
  host.ui.answers = {MsgBoxResult::No};
  page->IPageAccess_Page().RaiseSave();
  EXPECT_EQ(ListFile(), "D1\r\nD1\r\n");
  EXPECT_EQ(host.ui.messages.at(0),
            (testing::FakeUserInterface::Message{
                "Locuslist.txt already exists. Overwrite the file with your changes?",
                MsgBoxStyle::YesNo, ""}));
  page->IPageAccess_Page().RaiseSave();
  EXPECT_EQ(ListFile(), "D1\r\nD1\r\nD2\r\n");
  page->btnAllToTree.Click();
  page->IPageAccess_Page().RaiseSave();
  EXPECT_EQ(ListFile(), "");
}

}  // namespace
}  // namespace harvestor
