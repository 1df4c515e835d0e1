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

std::vector<bool> ConsoleHost::logHasEach(const std::vector<std::string_view>& prefixes) {
  std::vector<bool> found(prefixes.size(), false);
  const auto* lines = harvestor::ErrorLog::Lines();
  if (!lines) return found;
  // One walk for all the prefixes: a long log is walked once, and most of
  // its lines are told apart from a prefix by their first byte.
  std::size_t left = prefixes.size();
  for (std::string_view line : *lines) {
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
      const std::string_view prefix = prefixes[i];
      if (found[i] || line.size() < prefix.size() || prefix.empty() || line[0] != prefix[0] ||
          line.compare(0, prefix.size(), prefix) != 0) {
        continue;
      }
      found[i] = true;
      if (--left == 0) return found;
    }
  }
  return found;
}

std::vector<std::string_view> ConsoleHost::prefixesOf(const RunLines& lines) {
  std::vector<std::string_view> prefixes = {lines.stopped, lines.complete};
  prefixes.insert(prefixes.end(), lines.failures.begin(), lines.failures.end());
  return prefixes;
}

std::string ConsoleHost::runProblem(const RunLines& lines) const {
  return runProblem(lines, logHasEach(prefixesOf(lines)));
}

std::string ConsoleHost::runProblem(const RunLines& lines, const std::vector<bool>& found) const {
  if (utility_.reports() > 0) return "the export stopped on an error.";
  if (found[0]) return lines.stoppedMessage;
  if (!found[1] || std::find(found.begin() + 2, found.end(), true) != found.end()) {
    return lines.incompleteMessage;
  }
  return {};
}

bool ConsoleHost::runStopped(const RunLines& lines) const {
  return utility_.reports() > 0 || logHasEach({lines.stopped})[0];
}

int ConsoleHost::exitStatus(const RunLines& lines, std::ostream& err,
                            const std::vector<bool>& found) const {
  const std::string message = runProblem(lines, found);
  if (message.empty()) return 0;
  err << "harvestor: " << message << "\n";
  return 1;
}

}  // namespace workstation::console
