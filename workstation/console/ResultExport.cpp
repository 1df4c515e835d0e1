#include "workstation/console/ResultExport.h"

#include <filesystem>
#include <memory>
#include <ostream>
#include <unordered_map>

#include "harvestor/resultexport/ExportResultsOptionsPage.h"
#include "harvestor/resultexport/ExportResultsSelectionPage.h"
#include "harvestor/resultexport/ExportResultsStatusPage.h"
#include "harvestor/resultexport/OutputNaming.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HError.h"
#include "harvestor/service/Text.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/ConsoleHost.h"
#include "workstation/console/ExportSummary.h"
#include "workstation/console/ResultRuns.h"

namespace workstation::console {
namespace {

std::vector<std::shared_ptr<harvestor::IResult>> chooseResults(const harvestor::IStudy& study,
                                                               const ResultExportRequest& request) {
  std::vector<std::shared_ptr<harvestor::IResult>> all, chosen;
  const auto results = study.Results();
  for (std::int32_t i = 0; i < results->Count(); ++i) all.push_back(results->Item(i)->Result());
  if (request.all) return all;
  // A name given exactly wins; otherwise names match without their trailing blanks.
  std::unordered_map<std::string, std::shared_ptr<harvestor::IResult>> exact, trimmed;
  for (const auto& result : all) {
    exact.emplace(result->ResultName(), result);
    trimmed.emplace(harvestor::TrimTrailingBlanks(result->ResultName()), result);
  }
  for (const std::string& name : request.results) {
    if (const auto hit = exact.find(name); hit != exact.end()) {
      chosen.push_back(hit->second);
    } else if (const auto near = trimmed.find(harvestor::TrimTrailingBlanks(name));
               near != trimmed.end()) {
      chosen.push_back(near->second);
    } else {
      throw UsageError("the study has no result named '" + name + "'");
    }
  }
  return chosen;
}

void tick(harvestor::CheckBox& box, std::int16_t value, const char* option) {
  if (box.Value() == value) return;
  if (!box.Enabled()) throw UsageError(std::string(option) + " does not apply to this format");
  box.Value(value);
}

}  // namespace

namespace {

enum class RunStart { Started, SaveAsRefused, NotFinished };

// One run of the wizard and its status page over some of the selected results.
RunStart runOnce(ConsoleHost& host, const std::vector<std::shared_ptr<harvestor::IResult>>& results,
                 const ResultExportRequest& request) {
  host.service().ExportResult();
  const auto wizard = host.windows().lastWindow("ExportResultSelection");

  auto& selection = dynamic_cast<harvestor::ExportResultsSelectionPage&>(*wizard->pages()[0]);
  dynamic_cast<ConsoleSelectionControl&>(*selection.ctlSelectionWizard).select(results);
  if (!wizard->next(host.windows())) throw UsageError("the wizard did not take the selection");

  auto& options = dynamic_cast<harvestor::ExportResultsOptionsPage&>(*wizard->pages()[1]);
  auto& dialog = dynamic_cast<ConsoleDialog&>(*options.dlgResultsSaveAs);
  dialog.choose(request.outputTemplate, request.filterIndex);
  options.cmdBrowse.Click();
  if (dialog.timesShown() > 1) {
    wizard->cancel();
    return RunStart::SaveAsRefused;
  }
  if (request.header) tick(options.chkHeader, 1, "--header");
  if (request.resultData) tick(options.chkResultData, 1, "--result-data");
  if (request.keepSuffix) tick(options.chkRemoveSuffix, 0, "--keep-suffix");
  if (request.noResolve) tick(options.chkResolveFilenames, 0, "--no-resolve");
  if (!wizard->finish()) {
    wizard->cancel();
    return RunStart::NotFinished;
  }
  const auto status = std::dynamic_pointer_cast<harvestor::ExportResultsStatusPage>(
      host.windows().lastPage("ExportResultsStatus"));
  if (status && status->cmdOK.Enabled()) status->cmdOK.Click();
  return RunStart::Started;
}

// The files of the CRV set a run is about to write, named as the status page
// will name them: the log records the set's results but not its files.
std::vector<std::string> crvSetFiles(const ResultExportRequest& request,
                                     const harvestor::IResult& first) {
  namespace naming = harvestor::OutputNaming;
  std::string target = naming::SubstituteForDefaultName(
      request.outputTemplate, naming::CorrectForbiddenFileNameCharacters(
                                  harvestor::TrimTrailingBlanks(first.ResultName())));
  if (!request.keepSuffix) target = naming::RemoveSuffix(target);
  if (!request.noResolve) target = naming::ResolveFileNamesCRV(target);
  std::vector<std::string> files;
  for (int dye = 1; dye <= 4; ++dye) files.push_back(naming::CRVTraceFileName(target, dye));
  files.push_back(naming::CRVOrderFileName(target));
  return files;
}

void add(ResultExportTally& total, ResultExportTally run) {
  total.exported += run.exported;
  total.failed += run.failed;
  total.skipped += run.skipped;
  total.files.insert(total.files.end(), std::make_move_iterator(run.files.begin()),
                     std::make_move_iterator(run.files.end()));
}

}  // namespace

int runResultExport(const ResultExportRequest& request, CommandContext& context) {
  ConsoleHost host({context.out, context.err, context.in, context.interactive,
                    context.progressTerminal, request.verbose});
  const auto study = host.openStudy(request.database, request.study);
  const auto selected = chooseResults(*study, request);
  if (selected.empty()) throw UsageError("no results selected: give --result NAME or --all");
  const ResultRunPlan plan =
      planResultRuns({selected.size(), request.filterIndex == 3,
                      !request.noResolve && isFixedName(request.outputTemplate)});
  if (!plan.refusal.empty()) {
    context.err << "harvestor export-results: " << plan.refusal << "; nothing was written.\n";
    return 2;
  }
  host.ui().setAnswer(request.overwrite);

  const ConsoleHost::RunLines lines{"Export cancelled.",
                                    "export cancelled.",
                                    "Export completed. No errors.",
                                    {},
                                    request.verbose
                                        ? "some results were not exported; see the log above."
                                        : "some results were not exported; --verbose shows why."};
  ResultExportTally tally;
  std::string problem;
  std::size_t runsDone = 0;
  for (const ResultRun& run : plan.runs) {
    if (plan.runs.size() > 1) {
      context.err << "Run " << runsDone + 1 << " of " << plan.runs.size() << ": results "
                  << run.first + 1 << " to " << run.first + run.count << " of " << selected.size()
                  << "\n";
    }
    const auto first = selected.begin() + static_cast<std::ptrdiff_t>(run.first);
    RunStart started = RunStart::Started;
    std::vector<std::string> crvFiles;
    try {
      if (request.filterIndex == 3) crvFiles = crvSetFiles(request, **first);
      started = runOnce(host, {first, first + static_cast<std::ptrdiff_t>(run.count)}, request);
    } catch (const harvestor::HError&) {
      // Already reported, level by level, on standard error; the run stopped there.
    }
    if (started == RunStart::SaveAsRefused) {
      context.err << "harvestor export-results: Save As refused " << request.outputTemplate << "; "
                  << (runsDone == 0 ? "nothing was written" : "the export stopped there") << ".\n";
      return 2;
    }
    if (started == RunStart::NotFinished) {
      context.err << "harvestor export-results: the wizard could not be finished.\n";
      return 1;
    }
    ++runsDone;
    const harvestor::LineArena* log = harvestor::ErrorLog::Lines();
    const harvestor::LineArena none;
    ResultExportTally done = tallyResultExport(log ? *log : none);
    if (request.filterIndex == 3 && done.exported > 0 && done.failed == 0) {
      done.files = std::move(crvFiles);
    }
    add(tally, std::move(done));
    if (problem.empty()) problem = host.runProblem(lines);
    if (host.runStopped(lines)) break;
  }
  host.endRun();
  if (host.utility().firstNumber() == harvestor::ErrNo::Overflow) {
    context.err << "harvestor export-results: " << overflowCause(host.utility().firstProcedure())
                << ".\n";
  }
  if (!request.verbose) {
    printResultTally(context.out, tally);
    printFiles(context.out, tally.files);
    if (plan.runs.size() > 1) {
      context.out << "Exported in " << runsDone << " of " << plan.runs.size() << " runs of at most "
                  << kResultsPerRun
                  << " results, as the export's 16-bit counters allow; each run kept an export "
                     "log of its own.\n";
    }
    printLogFile(context.out, "");
  }
  if (problem.empty()) return kDone;
  context.err << "harvestor: " << problem << "\n";
  return kFailed;
}

Command exportResultsCommand() {
  Command c;
  c.name = "export-results";
  c.summary = "write results as text, native (zlu) or CRV trace files";
  c.usage =
      "usage: harvestor export-results STUDY.db [-s NAME] -f text|zal|crv -o TEMPLATE\n"
      "                                [-r|--result NAME]... [-a|--all]\n"
      "                                [--header] [--result-data] [--keep-suffix]\n"
      "                                [--no-resolve] [--overwrite|--skip] [--verbose]\n\n"
      "Writes each selected result as a file of its own (text or native), or all of\n"
      "them as one CRV set. TEMPLATE is a full path whose file name may be\n"
      "{Result Name} (not for CRV). The tracking suffix is removed and name\n"
      "conflicts are resolved unless --keep-suffix and --no-resolve say otherwise.\n"
      "Without --overwrite or --skip, overwrite questions are asked at the terminal,\n"
      "or answered Cancel. At the end a summary gives the results exported, failed\n"
      "and skipped and the files written with their sizes; --verbose prints the\n"
      "whole export log as it grows instead. Exit status: 0 done (also when every\n"
      "result was skipped), 1 failed, 2 a usage error.\n"
      "The export counts in 16 bits: more than 32766 results are exported in runs\n"
      "of at most 32766, each with its own log. A CRV set of more than 32766\n"
      "results, or a fixed file name numbered (without --no-resolve) for more than\n"
      "32767, is refused before anything is written.\n";
  c.define = [](CLI::App& app) {
    struct Options {
      std::string database, study, format, output;
      std::vector<std::string> results;
      bool all = false, header = false, resultData = false, keepSuffix = false, noResolve = false,
           overwrite = false, skip = false, verbose = false;
    };
    auto o = std::make_shared<Options>();
    app.add_option("STUDY.db", o->database, "the study database or server")->required();
    addValue(app, "-s,--study", o->study, "the study; default: the database's only one", "NAME");
    addChoice(app, "-f,--format", o->format, {"text", "zal", "crv"}, "the files' format")
        ->required();
    addValue(app, "-o,--output", o->output, "the file to write, or a template of names", "TEMPLATE")
        ->required();
    addValues(app, "-r,--result", o->results, "a result to export; repeatable", "NAME");
    addSwitch(app, "-a,--all", o->all, "export every result of the study");
    addSwitch(app, "--header", o->header, "write the header (text)");
    addSwitch(app, "--result-data", o->resultData, "write the result's data (text)");
    addSwitch(app, "--keep-suffix", o->keepSuffix, "keep the tracking suffix in file names");
    addSwitch(app, "--no-resolve", o->noResolve, "do not resolve file name conflicts");
    auto* overwrite = addSwitch(app, "--overwrite", o->overwrite, "write over files that exist");
    auto* skip = addSwitch(app, "--skip", o->skip, "skip files that exist");
    addSwitch(app, "-v,--verbose", o->verbose, "print the whole export log as it grows");
    return [o, overwrite, skip](CommandContext& context) {
      ResultExportRequest request;
      request.database = o->database;
      requireStore(request.database);
      request.study = o->study;
      request.filterIndex = o->format == "text" ? 1 : o->format == "zal" ? 2 : 3;
      if (o->output == "-") {
        throw UsageError(
            "--output - cannot be used here: each result is written as a file of its own "
            "(or a CRV set of four); give a file name or a template");
      }
      request.outputTemplate = std::filesystem::absolute(o->output).string();
      requireFolderOf(request.outputTemplate);
      request.results = o->results;
      request.all = o->all;
      if (request.all == !request.results.empty())
        throw UsageError("give --result NAME... or --all");
      request.header = o->header;
      request.resultData = o->resultData;
      request.keepSuffix = o->keepSuffix;
      request.noResolve = o->noResolve;
      refuseBoth(overwrite, skip);
      if (o->overwrite) request.overwrite = true;
      if (o->skip) request.overwrite = false;
      request.verbose = o->verbose;
      return runResultExport(request, context);
    };
  };
  return c;
}

}  // namespace workstation::console
