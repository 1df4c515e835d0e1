#include "workstation/desktop/DesktopHost.h"

#include <QHeaderView>
#include <QLabel>
#include <QMessageBox>
#include <QTableView>
#include <QVBoxLayout>

#include "harvestor/resultexport/ExportResultsOptionsPage.h"
#include "harvestor/resultexport/ExportResultsSelectionPage.h"
#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "harvestor/studypages/ExportStudyStatusPage.h"
#include "harvestor/studypages/LocusListEditPage.h"
#include "workstation/console/AttachedService.h"
#include "workstation/console/ResultRuns.h"
#include "workstation/desktop/FragmentGridModel.h"
#include "workstation/desktop/OpenStudyPage.h"
#include "workstation/desktop/ResultSelectionControl.h"
#include "workstation/store/FragmentGridPage.h"
#include "workstation/store/StudyStore.h"

namespace workstation::desktop {
namespace {

template <typename Page>
std::function<std::shared_ptr<harvestor::IPageAccess>()> make() {
  return [] { return std::make_shared<Page>(); };
}

QWidget* selectionWidget(harvestor::IPageAccess& page, ControlBinding&, QWidget* parent) {
  auto& selection = dynamic_cast<harvestor::ExportResultsSelectionPage&>(page);
  auto* form = new QWidget(parent);
  auto* layout = new QVBoxLayout(form);
  auto* caption = new QLabel(QObject::tr("&Select the results to export:"), form);
  auto* list = dynamic_cast<ResultSelectionControl&>(*selection.ctlSelectionWizard).widget(form);
  caption->setBuddy(list);
  layout->addWidget(caption);
  layout->addWidget(list, 1);
  return form;
}

// The status page counts a run's results in 16-bit counters: a selection
// larger than one run takes is refused before anything is written. (The
// console splits such a selection into runs; a wizard is one run.)
bool selectionFitsOneRun(harvestor::IPageAccess& page, QWidget* owner) {
  auto& selection = dynamic_cast<harvestor::ExportResultsSelectionPage&>(page);
  const std::size_t selected =
      dynamic_cast<ResultSelectionControl&>(*selection.ctlSelectionWizard).selectedCount();
  if (selected <= console::kResultsPerRun) return true;
  QMessageBox::warning(
      owner, QObject::tr("Export Results"),
      QObject::tr("%1 results are selected. One export takes at most %2: it counts its results "
                  "in 16-bit counters, whose limit is %3. Select fewer, or export them with "
                  "'harvestor export-results', which exports a large selection in runs of "
                  "%2.\n\nNothing was written.")
          .arg(selected)
          .arg(console::kResultsPerRun)
          .arg(console::kSixteenBitLimit));
  return false;
}

QWidget* fragmentGridWidget(harvestor::IPageAccess& page, ControlBinding&, QWidget* parent) {
  auto* view = new QTableView(parent);
  view->setObjectName("FragmentGridView");
  std::shared_ptr<harvestor::IStudy> study;
  try {
    study = std::any_cast<std::shared_ptr<harvestor::IStudy>>(page.IPageAccess_Page().Parameter());
  } catch (const std::bad_any_cast&) {
  }
  view->setModel(new FragmentGridModel(study, view));
  view->setSortingEnabled(true);
  view->sortByColumn(-1, Qt::AscendingOrder);
  view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
  view->horizontalHeader()->setStretchLastSection(true);
  return view;
}

}  // namespace

DesktopHost::DesktopHost(harvestor::ISpreadsheetAutomation* spreadsheet)
    : progress_(std::make_shared<DesktopProgress>()) {
  harvestor::HostObjects::Install(
      {this, &studies_, &utility_, &filter_, &ui_, spreadsheet, &libraries_});
  registerPages();
}

DesktopHost::~DesktopHost() {
  windows_.closeAll();
  service_.reset();
  harvestor::HostObjects::Install({});
}

void DesktopHost::registerPages() {
  windows_.registerPage("ExportStudyStatus",
                        {make<harvestor::ExportStudyStatusPage>(), {}, "Export Study"});
  windows_.registerPage("FragmentGrid",
                        {make<FragmentGridPage>(), fragmentGridWidget, "Fragment Grid"});
  windows_.registerWizard("ExportResultSelection",
                          {{make<harvestor::ExportResultsSelectionPage>(), selectionWidget,
                            "Export Results", false, selectionFitsOneRun},
                           {make<harvestor::ExportResultsOptionsPage>(), {}, "Export Results"}});
  windows_.registerPage("ShowLocusListEditPage",
                        {make<harvestor::LocusListEditPage>(), {}, "Locus List Editor", true});
  windows_.registerPage("ExportResultsStatus",
                        {make<harvestor::ExportResultsStatusPage>(), {}, "Export Results Status"});
  windows_.registerPage(
      "OpenStudy", {[this] {
                      return std::make_shared<OpenStudyPage>(
                          studyNames_, [this](const std::string& name) { return openStudy(name); });
                    },
                    [](harvestor::IPageAccess& page, ControlBinding&, QWidget* parent) {
                      return dynamic_cast<OpenStudyPage&>(page).widget(parent);
                    },
                    "Open Study"});
  windows_.setRunsToEnd("OpenStudy");
}

void DesktopHost::setOwner(QWidget* owner) {
  windows_.setOwner(owner);
  windows_.dialog().setOwner(owner);
  ui_.setOwner(owner);
  utility_.setOwner(owner);
  libraries_.setOwner(owner);
}

harvestor::Service& DesktopHost::service() {
  if (!service_) service_ = attachService();
  return *service_;
}

bool DesktopHost::commandEnabled(const std::string& name) {
  const auto commands = service().IServiceAccess_Service()->Commands();
  return commands->HasKey(name) && commands->Item(name)->Enabled;
}

std::vector<std::string> DesktopHost::openDatabase(const std::string& path) {
  auto names = openStudyStore(path)->studyNames();
  if (studies_.IsStudyOpen()) closeStudy();
  database_ = path;
  studyNames_ = std::move(names);
  return studyNames_;
}

std::shared_ptr<harvestor::IStudy> DesktopHost::openStudy(const std::string& study) {
  std::shared_ptr<harvestor::IStudy> loaded = openStudyStore(database_)->loadStudy(study);
  service();
  if (studies_.IsStudyOpen()) closeStudy();
  studies_.open(loaded);
  return loaded;
}

void DesktopHost::closeStudy() {
  if (studies_.IsStudyOpen()) studies_.close();
}

}  // namespace workstation::desktop
