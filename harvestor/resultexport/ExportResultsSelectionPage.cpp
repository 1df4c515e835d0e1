#include "harvestor/resultexport/ExportResultsSelectionPage.h"

#include "harvestor/resultexport/ExportParameters.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/HostObjects.h"

namespace harvestor {
namespace {

const char* const kClass = "ExportResultsSelectionPage";

}  // namespace

ExportResultsSelectionPage::ExportResultsSelectionPage() {
  Handled(kClass, "UserControl_Initialize", [&] {
    m_oPageBase = std::make_shared<PageBase>();
    m_oPageBase->Initialize = [this](const std::any&) { m_oPageBase_Initialize(); };
    m_oPageBase->Activate = [this] { m_oPageBase_Activate(); };
    m_oPageBase->Validate = [this](bool& valid) { m_oPageBase_Validate(valid); };
    ctlSelectionWizard = HostObjects::Libraries().CreateSelectionControl();
    ctlSelectionWizard->SelectionChanged = [this] { ctlSelectionWizard_SelectionChanged(); };
  });
}

PageBase& ExportResultsSelectionPage::IPageAccess_Page() { return PageAccess(kClass, m_oPageBase); }

void ExportResultsSelectionPage::m_oPageBase_Initialize() {
  Handled(kClass, "m_oPageBase_Initialize", [&] {
    const auto parameters = ParametersOf(*m_oPageBase);
    m_bSelectionValid = false;
    ctlSelectionWizard->InitSelection("Result", parameters->colSelectedResults);
  });
}

void ExportResultsSelectionPage::ctlSelectionWizard_SelectionChanged() {
  Handled(kClass, "ctlSelectionWizard_SelectionChanged", [&] {
    const auto parameters = ParametersOf(*m_oPageBase);
    m_bSelectionValid = parameters->colSelectedResults->Count() >= 1;
    m_oPageBase->Revalidate();
    m_oPageBase->Window()->EnableButton(1, false);
  });
}

void ExportResultsSelectionPage::m_oPageBase_Validate(bool& bIsValid) {
  Handled(kClass, "m_oPageBase_Validate", [&] { bIsValid = m_bSelectionValid; });
}

void ExportResultsSelectionPage::m_oPageBase_Activate() {
  m_oPageBase->Window()->EnableButton(1, false);
}

}  // namespace harvestor
