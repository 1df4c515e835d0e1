#pragma once
// The page on which the user edits LocusList.txt: the study's loci not yet
// in the list, the list itself in file order, and the loci taken off the
// list that the study does not have. Six buttons move and reorder loci;
// saving the page writes the selected loci back, one per line. Locus names
// compare without regard to case.

#include <memory>
#include <string>

#include "harvestor/service/Collection.h"
#include "harvestor/service/Controls.h"
#include "harvestor/service/PageBase.h"

namespace harvestor {

class LocusListEditPage final : public IPageAccess, public IHasControls {
 public:
  LocusListEditPage();            // UserControl_Initialize
  ~LocusListEditPage() override;  // UserControl_Terminate

  void Initialize(const std::any& oObject);
  PageBase& IPageAccess_Page() override;
  std::vector<Control*> Controls() override {
    return {&Frame2,      &lblFileDateTime, &frmLeft,    &lstPossible, &frmRight,
            &lstSelected, &Frame1,          &lstOther,   &btnToList,   &btnAllToList,
            &btnToTree,   &btnAllToTree,    &btnUpOrder, &btnDownOrder};
  }

  void btnToList_Click();
  void btnAllToList_Click();
  void btnToTree_Click();
  void btnAllToTree_Click();
  void btnUpOrder_Click();
  void btnDownOrder_Click();

  Frame Frame2{"Frame2", "Locuslist.txt File Date and Time:"};
  Label lblFileDateTime{"lblFileDateTime", ""};
  Frame frmLeft{"frmLeft", "Study Loci:"};
  ListBox lstPossible{"lstPossible", true};
  Frame frmRight{"frmRight", "Selected Loci"};
  ListBox lstSelected{"lstSelected", false};
  Frame Frame1{"Frame1", "Other Loci:"};
  ListBox lstOther{"lstOther", true};
  CommandButton btnToList{"btnToList", "Select column"};
  CommandButton btnAllToList{"btnAllToList", "Select all possible columns"};
  CommandButton btnToTree{"btnToTree", "Deselect column"};
  CommandButton btnAllToTree{"btnAllToTree", "Deselect all columns"};
  CommandButton btnUpOrder{"btnUpOrder", "Move selected column name up"};
  CommandButton btnDownOrder{"btnDownOrder", "Move selected column name down"};

 private:
  void m_oPageBase_Initialize();
  void m_oPageBase_Save();
  void SetUp();
  // Puts a deselected entry back: under Study Loci once for each study locus
  // of that name, or under Other Loci when the study has none.
  void ReturnEntry(const std::string& entry);
  void Move(int direction);

  std::shared_ptr<PageBase> m_oPageBase;
  CollectionPtr<std::shared_ptr<IObject>> m_colStudyLoci;
  std::string m_strLocusListFile;
  std::int32_t m_nSavedMousePointer = 0;
};

}  // namespace harvestor
