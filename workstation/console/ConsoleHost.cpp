#include "workstation/console/ConsoleHost.h"

#include <algorithm>
#include <ostream>

#include "harvestor/resultexport/ExportResultsOptionsPage.h"
#include "harvestor/resultexport/ExportResultsSelectionPage.h"
#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/studypages/ExportStudyStatusPage.h"
#include "harvestor/studypages/LocusListEditPage.h"
#include "workstation/console/AttachedService.h"
#include "workstation/store/FragmentGridPage.h"
#include "workstation/store/StudyStore.h"

namespace workstation::console {

ConsoleHost::ConsoleHost(const ConsoleStreams& streams,
                         harvestor::ISpreadsheetAutomation* spreadsheet)
    : windows_(streams.out, streams.err, streams.showLog),
      progress_(
          std::make_shared<ConsoleProgress>(streams.err, streams.progressTerminal, streams.clock)),
      utility_(streams.err),
      ui_(streams.err, streams.in, streams.interactive) {
  harvestor::HostObjects::Install(
      {this, &studies_, &utility_, &filter_, &ui_, spreadsheet, &libraries_});
  windows_.registerPage("ExportStudyStatus",
                        [] { return std::make_shared<harvestor::ExportStudyStatusPage>(); });
  windows_.registerPage("FragmentGrid", [] { return std::make_shared<FragmentGridPage>(); });
  windows_.registerWizard("ExportResultSelection",
                          {[] { return std::make_shared<harvestor::ExportResultsSelectionPage>(); },
                           [] { return std::make_shared<harvestor::ExportResultsOptionsPage>(); }});
  windows_.registerPage("ShowLocusListEditPage",
                        [] { return std::make_shared<harvestor::LocusListEditPage>(); });
  windows_.registerPage("ExportResultsStatus",
                        [] { return std::make_shared<harvestor::ExportResultsStatusPage>(); });
}

ConsoleHost::~ConsoleHost() {
  progress_->clear();
  service_.reset();
  harvestor::HostObjects::Install({});
}

harvestor::Service& ConsoleHost::service() {
  if (!service_) service_ = attachService();
  return *service_;
}

std::shared_ptr<harvestor::IStudy> ConsoleHost::openStudy(const std::string& database,
                                                          const std::string& study) {
  std::shared_ptr<harvestor::IStudy> loaded = openStudyStore(database)->loadStudy(study);
  service();
  studies_.open(loaded);
  return loaded;
}

bool ConsoleHost::logHas(const std::string& prefix) {
  const auto* lines = harvestor::ErrorLog::Lines();
  return lines && std::any_of(lines->begin(), lines->end(),
                              [&](std::string_view line) { return line.rfind(prefix, 0) == 0; });
}

std::string ConsoleHost::runProblem(const RunLines& lines) const {
  if (utility_.reports() > 0) return "the export stopped on an error.";
  if (logHas(lines.stopped)) return lines.stoppedMessage;
  if (!logHas(lines.complete) ||
      std::any_of(lines.failures.begin(), lines.failures.end(), logHas)) {
    return lines.incompleteMessage;
  }
  return {};
}

bool ConsoleHost::runStopped(const RunLines& lines) const {
  return utility_.reports() > 0 || logHas(lines.stopped);
}

int ConsoleHost::exitStatus(const RunLines& lines, std::ostream& err) const {
  const std::string message = runProblem(lines);
  if (message.empty()) return 0;
  err << "harvestor: " << message << "\n";
  return 1;
}

}  // namespace workstation::console
