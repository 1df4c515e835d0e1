// The result export wizard's pages: the selection's validity and the options
// page's name, format, elements and validity.
#include <gtest/gtest.h>

#include <filesystem>

#include "harvestor/resultexport/ExportResultsOptionsPage.h"
#include "harvestor/resultexport/ExportResultsSelectionPage.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

TEST(WizardPagesTest, TheSelectionIsValidWhileItHoldsAResult) {
  testing::TestHost host;
  auto parameters = std::make_shared<ExportParameters>();
  auto window = std::make_shared<testing::FakeWindow>();
  ExportResultsSelectionPage page;
  PageBase& base = page.IPageAccess_Page();
  int revalidations = 0;
  base.Attach(window, std::any(parameters), [&] { ++revalidations; });
  base.RaiseInitialize();
  auto& control = *host.libraries.selections.at(0);
  EXPECT_EQ(control.type, "Result");
  EXPECT_EQ(control.collection, parameters->colSelectedResults);
  EXPECT_FALSE(base.RaiseValidate());
  base.RaiseActivate();
  EXPECT_EQ(window->buttons.back(), std::make_pair(1, false));

  control.Select(std::make_shared<testing::FakeResult>());
  EXPECT_TRUE(base.RaiseValidate());
  EXPECT_EQ(revalidations, 1);
  EXPECT_EQ(window->buttons.back(), std::make_pair(1, false));  // button 1 stays disabled here
  control.Clear();
  EXPECT_FALSE(base.RaiseValidate());
}

class OptionsPageTest : public ::testing::Test {
 protected:
  OptionsPageTest() {
    page.IPageAccess_Page().Attach(window, std::any(parameters), nullptr);
    page.IPageAccess_Page().RaiseInitialize();
  }
  testing::FakeCommonDialog& dialog() { return *host.libraries.dialogs.at(0); }
  void Choose(const std::string& name, std::int16_t filter) {
    host.libraries.onDialogShow = [=](testing::FakeCommonDialog& d) {
      d.fileName = name;
      d.filterIndex = filter;
    };
    page.cmdBrowse.Click();
  }
  std::vector<std::pair<bool, std::int16_t>> Elements() {
    std::vector<std::pair<bool, std::int16_t>> out;
    for (CheckBox* box :
         {&page.chkHeader, &page.chkRawData, &page.chkResultData, &page.chkResultOutput}) {
      out.emplace_back(box->Enabled(), box->Value());
    }
    return out;
  }
  using E = std::vector<std::pair<bool, std::int16_t>>;

  testing::TestHost host;
  std::shared_ptr<ExportParameters> parameters = std::make_shared<ExportParameters>();
  std::shared_ptr<testing::FakeWindow> window = std::make_shared<testing::FakeWindow>();
  ExportResultsOptionsPage page;
};

TEST_F(OptionsPageTest, AFreshPageOffersTextWithResultNamesInTheExportFolder) {
  EXPECT_EQ(parameters->strFullPathAndFileName, host.exportFolder + "/{Result Name}.txt");
  EXPECT_EQ(page.lblSaveAsPath.Caption(),
            ResultExportRoutines::ShortenLongPaths(host.exportFolder + "/{Result Name}.txt"));
  EXPECT_EQ(Elements(), (E{{true, 0}, {false, 0}, {true, 0}, {false, 1}}));
  EXPECT_TRUE(page.chkRemoveSuffix.Enabled() && page.chkRemoveSuffix.Value() == 1);
  EXPECT_TRUE(page.chkResolveFilenames.Enabled() && page.chkResolveFilenames.Value() == 1);
  EXPECT_FALSE(page.InvalidFileName());
  EXPECT_EQ(dialog().filterIndex, 1);
  EXPECT_EQ(dialog().filter,
            "Text (Tab delimited)(*.txt)|*.txt|ZAL (*.zl*)|*.zlu|CRV (*.CRV)|*.CRV|");
  page.IPageAccess_Page().RaiseActivate();
  EXPECT_EQ(window->buttons.back(), std::make_pair(1, true));
}

TEST_F(OptionsPageTest, FormatChangesResetTheElementsAndTheExtensionFollowsTheFormat) {
  const std::string cwd = std::filesystem::current_path();
  page.chkHeader.Value(1);
  Choose(host.Path("Run1.doc"), 1);  // the same format keeps the user's choices
  EXPECT_EQ(parameters->strFullPathAndFileName, host.Path("Run1.txt"));
  EXPECT_EQ(page.chkHeader.Value(), 1);
  EXPECT_EQ(dialog().fileName, host.Path("Run1.doc"));

  Choose(host.Path("Run1"), 2);
  EXPECT_EQ(Elements(), (E{{false, 1}, {false, 1}, {false, 1}, {false, 1}}));
  EXPECT_EQ(parameters->strFullPathAndFileName, host.Path("Run1.zlu"));
  Choose(host.Path("Run1"), 1);
  EXPECT_EQ(Elements(), (E{{true, 0}, {false, 0}, {true, 0}, {false, 1}}));
  EXPECT_EQ(ResultExportRoutines::GetLastExportFolder(), host.root);

  host.application.windows.dialog.cancel = true;  // the shared dialog is not this page's
  host.libraries.onDialogShow = [](testing::FakeCommonDialog& d) { d.cancel = true; };
  page.cmdBrowse.Click();
  EXPECT_EQ(parameters->strFullPathAndFileName, host.Path("Run1.txt"));
  EXPECT_EQ(std::string(std::filesystem::current_path()), cwd);

  page.chkResultData.Value(2);  // grey counts as ticked
  page.chkRemoveSuffix.Value(0);
  page.IPageAccess_Page().RaiseSave();
  EXPECT_TRUE(parameters->bSendResultData);
  EXPECT_TRUE(parameters->bSendResultOutput);
  EXPECT_FALSE(parameters->bSendHeader || parameters->bSendRawData || parameters->bRemoveSuffix);
  EXPECT_TRUE(parameters->bResolveFilenameConflicts);
  EXPECT_EQ(parameters->strFileName, "Run1.txt");
  EXPECT_EQ(parameters->strFilePath, host.root);
  EXPECT_EQ(parameters->enumFileFormat, TAB_DELIMITED);
  EXPECT_EQ(parameters->strFileExtension, "txt");
}

TEST_F(OptionsPageTest, CrvRefusesTheResultNamePlaceholder) {
  int shows = 0;
  host.libraries.onDialogShow = [&](testing::FakeCommonDialog& d) {
    d.filterIndex = 3;
    d.fileName = ++shows == 1 ? host.Path("{Result Name}") : host.Path("Plate7");
  };
  page.cmdBrowse.Click();
  EXPECT_EQ(shows, 2);
  EXPECT_EQ(host.ui.messages,
            (std::vector<testing::FakeUserInterface::Message>{
                {"{Result Name} is not a valid file name for CRV export.\r\nPlease provide a "
                 "specific file name for exporting CRV format.\r\n\r\n",
                 MsgBoxStyle::OKOnly, "Export Results"}}));
  EXPECT_EQ(parameters->strFullPathAndFileName, host.Path("Plate7.CRV"));
  EXPECT_EQ(Elements(), (E{{false, 0}, {false, 0}, {false, 1}, {false, 0}}));
  EXPECT_FALSE(page.InvalidFileName());
}

}  // namespace
}  // namespace harvestor
