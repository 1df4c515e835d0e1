#pragma once
// The headless workstation: every host service the component needs, bound
// to a terminal (or to the streams a test gives it), installed as the
// component's host objects for the host's lifetime. It attaches a Service
// the way the workstation does and registers the pages it can show.

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Service.h"
#include "workstation/console/ConsoleLibraries.h"
#include "workstation/console/ConsoleServices.h"
#include "workstation/console/ConsoleUi.h"
#include "workstation/console/ConsoleWindows.h"

namespace workstation::console {

struct ConsoleStreams {
  std::ostream& out;
  std::ostream& err;
  std::istream& in;
  bool interactive = false;           // standard input and error are a terminal
  bool progressTerminal = false;      // err is a terminal: the progress bar is drawn there
  bool showLog = true;                // the export log is printed on out as it grows
  ConsoleProgress::Clock clock = {};  // for the progress bar's redraws; empty: the steady clock
};

class ConsoleHost final : public harvestor::IHostApplication {
 public:
  explicit ConsoleHost(const ConsoleStreams& streams,
                       harvestor::ISpreadsheetAutomation* spreadsheet = nullptr);
  ~ConsoleHost() override;
  ConsoleHost(const ConsoleHost&) = delete;
  ConsoleHost& operator=(const ConsoleHost&) = delete;

  harvestor::IWindowManager& WindowManager() override { return windows_; }
  std::shared_ptr<harvestor::IProgressBar> ProgressBar() override { return progress_; }

  // Creates the service, fills its commands and raises its Initialize.
  harvestor::Service& service();
  // Loads a study from its database and opens it, the service attached.
  std::shared_ptr<harvestor::IStudy> openStudy(const std::string& database,
                                               const std::string& study);
  // Whether the current export log holds a line that starts with each
  // prefix, in one walk of the log (an empty prefix is never found).
  static std::vector<bool> logHasEach(const std::vector<std::string_view>& prefixes);

  // How a run's log tells its outcome.
  struct RunLines {
    std::string stopped;  // the line of a run the user stopped
    std::string stoppedMessage;
    std::string complete;               // the line of a run that completed
    std::vector<std::string> failures;  // lines of a file or result not written
    std::string incompleteMessage;
  };
  // What went wrong in the run just done, as the message the console prints:
  // empty when it completed, else an error reported, stopped, or incomplete.
  std::string runProblem(const RunLines& lines) const;
  // The same from which of prefixesOf(lines) the log was found to hold.
  std::string runProblem(const RunLines& lines, const std::vector<bool>& found) const;
  static std::vector<std::string_view> prefixesOf(const RunLines& lines);
  // Whether the component reported an error to the host or the user stopped
  // the run: what a further run must not follow.
  bool runStopped(const RunLines& lines) const;
  // The exit status of the run just done, from which of prefixesOf(lines)
  // its log holds: 0 when it completed, else 1 with runProblem's message on
  // standard error.
  int exitStatus(const RunLines& lines, std::ostream& err, const std::vector<bool>& found) const;
  // Ends the run on the terminal: a progress bar still drawn is cleared and
  // the captions held back are shown as they last were.
  void endRun() {
    progress_->clear();
    windows_.flushCaptions();
  }
  ConsoleWindowManager& windows() { return windows_; }
  ConsoleStudyService& studies() { return studies_; }
  ConsoleUi& ui() { return ui_; }
  const ConsoleUtility& utility() const { return utility_; }

 private:
  ConsoleWindowManager windows_;
  std::shared_ptr<ConsoleProgress> progress_;
  ConsoleStudyService studies_;
  ConsoleUtility utility_;
  KeepEveryFragment filter_;
  ConsoleUi ui_;
  ConsoleLibraries libraries_;
  std::unique_ptr<harvestor::Service> service_;
};

}  // namespace workstation::console
