#include "harvestor/studypages/LocusListEditPage.h"

#include <chrono>
#include <ctime>
#include <filesystem>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/TextFile.h"

namespace harvestor {
namespace {

const char* const kClass = "LocusListEditPage";
constexpr std::int32_t kArrowPointer = 1;

std::string NameOf(const std::shared_ptr<IObject>& locus) {
  return locus->GetProperty("Name").ToText();
}

std::string FileDateTime(const std::string& path) {
  const auto written = std::filesystem::last_write_time(path);
  const std::time_t seconds =
      std::chrono::system_clock::to_time_t(std::chrono::file_clock::to_sys(written));
  std::tm tm{};
  localtime_r(&seconds, &tm);
  return FormatGeneralDate(
      {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec});
}

bool HasEntry(const ListBox& box, const std::string& name) {
  for (Int16 i = 0; i < box.ListCount(); ++i) {
    if (EqualsNoCase(box.List(i), name)) return true;
  }
  return false;
}

// Moves the selected entries of from, last to first, to the end of to.
void MoveSelected(ListBox& from, ListBox& to) {
  for (Int16 i = static_cast<Int16>(from.ListCount() - 1); i >= 0; --i) {
    if (!from.Selected(i)) continue;
    to.AddItem(from.List(i));
    from.RemoveItem(i);
  }
}

}  // namespace

LocusListEditPage::LocusListEditPage() {
  Handled(kClass, "UserControl_Initialize", [&] { SetUp(); });
}

void LocusListEditPage::Initialize(const std::any&) {
  Handled(kClass, "Initialize", [&] { SetUp(); });
}

void LocusListEditPage::SetUp() {
  if (!m_oPageBase) {
    m_oPageBase = std::make_shared<PageBase>();
    m_oPageBase->Initialize = [this](const std::any&) { m_oPageBase_Initialize(); };
    m_oPageBase->Save = [this] { m_oPageBase_Save(); };
    btnToList.OnClick = [this] { btnToList_Click(); };
    btnAllToList.OnClick = [this] { btnAllToList_Click(); };
    btnToTree.OnClick = [this] { btnToTree_Click(); };
    btnAllToTree.OnClick = [this] { btnAllToTree_Click(); };
    btnUpOrder.OnClick = [this] { btnUpOrder_Click(); };
    btnDownOrder.OnClick = [this] { btnDownOrder_Click(); };
  }
  IUserInterface& ui = HostObjects::UserInterface();
  m_nSavedMousePointer = ui.MousePointer();
  ui.SetMousePointer(kArrowPointer);
}

LocusListEditPage::~LocusListEditPage() {
  if (IUserInterface* ui = HostObjects::Installed().UserInterface)
    ui->SetMousePointer(m_nSavedMousePointer);
}

PageBase& LocusListEditPage::IPageAccess_Page() { return PageAccess(kClass, m_oPageBase); }

namespace {

// Error 75 when the list cannot be written; the host hears the cause.
template <class Lines>
void WriteOrRaise(const std::string& path, const Lines& lines) {
  std::string failure;
  if (WriteTextLines(path, lines, &failure)) return;
  if (IHostUtility* utility = HostObjects::Utility()) utility->ReportFileFailure(failure);
  RaiseError(ErrNo::PathFileAccess);
}

}  // namespace

void LocusListEditPage::m_oPageBase_Initialize() {
  Handled(kClass, "m_oPageBase_Initialize", [&] {
    lstOther.Clear();
    lstSelected.Clear();
    m_strLocusListFile = LocusListFile::FullName();
    if (!FileExists(m_strLocusListFile)) {
      WriteOrRaise(m_strLocusListFile, std::vector<std::string>());
    } else {
      const std::optional<std::string> content = ReadWholeFile(m_strLocusListFile);
      if (!content) RaiseError(ErrNo::PathFileAccess);
      for (std::string& entry : LocusListFile::SplitLines(*content))
        lstSelected.AddItem(std::move(entry));
    }
    lblFileDateTime.Caption(FileDateTime(m_strLocusListFile));
    lstPossible.Clear();
    m_colStudyLoci =
        HostObjects::Libraries().CreateLociLoader()->Query("CurrentLoci", "", "", "Name", 0, true);
    for (const auto& locus : *m_colStudyLoci) {
      const std::string name = NameOf(locus);
      if (!HasEntry(lstSelected, name)) lstPossible.AddItem(name);
    }
  });
}

void LocusListEditPage::m_oPageBase_Save() {
  Handled(kClass, "m_oPageBase_Save", [&] {
    if (m_strLocusListFile.empty()) return;
    if (FileExists(m_strLocusListFile)) {
      const std::int32_t answer = HostObjects::UserInterface().MsgBox(
          "Locuslist.txt already exists. Overwrite the file with your changes?", MsgBoxStyle::YesNo,
          "");
      if (answer == MsgBoxResult::No) return;
    }
    WriteOrRaise(m_strLocusListFile, lstSelected.Items());
  });
}

void LocusListEditPage::btnToList_Click() {
  Handled(kClass, "btnToList_Click", [&] {
    MoveSelected(lstPossible, lstSelected);
    MoveSelected(lstOther, lstSelected);
  });
}

void LocusListEditPage::btnAllToList_Click() {
  Handled(kClass, "btnAllToList_Click", [&] {
    for (const std::string& entry : lstPossible.Items()) lstSelected.AddItem(entry);
    for (const std::string& entry : lstOther.Items()) lstSelected.AddItem(entry);
    lstPossible.Clear();
    lstOther.Clear();
  });
}

void LocusListEditPage::ReturnEntry(const std::string& entry) {
  bool inStudy = false;
  for (const auto& locus : *m_colStudyLoci) {
    if (!EqualsNoCase(NameOf(locus), entry)) continue;
    lstPossible.AddItem(entry);
    inStudy = true;
  }
  if (!inStudy) lstOther.AddItem(entry);
}

void LocusListEditPage::btnToTree_Click() {
  Handled(kClass, "btnToTree_Click", [&] {
    for (Int16 i = static_cast<Int16>(lstSelected.ListCount() - 1); i >= 0; --i) {
      if (!lstSelected.Selected(i)) continue;
      ReturnEntry(lstSelected.List(i));
      lstSelected.RemoveItem(i);
    }
  });
}

void LocusListEditPage::btnAllToTree_Click() {
  Handled(kClass, "btnAllToTree_Click", [&] {
    for (const std::string& entry : lstSelected.Items()) ReturnEntry(entry);
    lstSelected.Clear();
  });
}

void LocusListEditPage::Move(int direction) {
  if (lstSelected.SelCount() >= 2) {
    HostObjects::UserInterface().MsgBox("Please select only one locus to move.",
                                        MsgBoxStyle::OKOnly, "");
    return;
  }
  const Int16 count = lstSelected.ListCount();
  auto swapWith = [&](Int16 i, Int16 other) {
    std::string text = lstSelected.List(i);
    lstSelected.List(i, lstSelected.List(other));
    lstSelected.List(other, std::move(text));
    lstSelected.Selected(i, false);
    lstSelected.Selected(other, true);
  };
  if (direction < 0) {
    for (Int16 i = 1; i < count; ++i) {
      if (lstSelected.Selected(i)) swapWith(i, static_cast<Int16>(i - 1));
    }
  } else {
    for (Int16 i = static_cast<Int16>(count - 2); i >= 0; --i) {
      if (lstSelected.Selected(i)) swapWith(i, static_cast<Int16>(i + 1));
    }
  }
}

void LocusListEditPage::btnUpOrder_Click() {
  Handled(kClass, "btnUpOrder_Click", [&] { Move(-1); });
}

void LocusListEditPage::btnDownOrder_Click() {
  Handled(kClass, "btnDownOrder_Click", [&] { Move(1); });
}

}  // namespace harvestor
