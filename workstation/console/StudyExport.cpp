#include "workstation/console/StudyExport.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/resultexport/FileName.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/TextFile.h"
#include "harvestor/studypages/ExportStudyStatusPage.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/ConsoleHost.h"
#include "workstation/console/ExportSummary.h"
#include "workstation/console/ResultRuns.h"
#include "workstation/console/StandardOutputFile.h"
#include "workstation/store/FragmentGridPage.h"

namespace workstation::console {
namespace {

bool sameFile(const std::filesystem::path& a, const std::filesystem::path& b) {
  std::error_code ec;
  if (std::filesystem::equivalent(a, b, ec)) return true;  // links and hard links too
  return std::filesystem::weakly_canonical(a, ec) == std::filesystem::weakly_canonical(b, ec);
}

// Refuses, before anything is written, an output the export would write over
// with one of its own companions, or one that names a folder.
void refuseSelfOverwrite(const std::string& output, std::int16_t filterIndex) {
  const std::filesystem::path target = std::filesystem::absolute(output);
  std::error_code ec;
  if (output.ends_with('/') || std::filesystem::is_directory(target, ec)) {
    throw UsageError("--output " + output + " names a folder (" + target.string() +
                     "); give a file name");
  }
  harvestor::FileName parts;
  parts.Initialize(target.string());
  std::vector<std::string> companions;
  if (filterIndex >= 2) companions.push_back(parts.PathAndFileNameSansExtension() + ".log");
  if (filterIndex == 2) companions.push_back(parts.PathAndFileNameSansExtension() + ".debug");
  for (const std::string& companion : companions) {
    if (sameFile(target, companion)) {
      throw UsageError("--output " + target.string() + " is the export's own companion file " +
                       companion + "; give another name");
    }
  }
}

// Only CSV is one file: the other formats write their log (and Linkage its
// debug copy) beside the file, which standard output has no folder for.
void refuseStandardOutput(const std::string& format) {
  if (format == "csv") return;
  throw UsageError("--output - writes only csv to standard output: a " + format +
                   " export writes its .log" + (format == "pedin" ? " and .debug" : "") +
                   " beside the file; give a file name");
}

// The files a study export writes, in the order it writes them, and its log file.
struct StudyFiles {
  std::vector<std::string> files;
  std::string log;
};

StudyFiles studyFiles(const std::string& output, std::int16_t filterIndex) {
  const std::string target = std::filesystem::absolute(output).string();
  if (filterIndex < 2) return {{target}, ""};
  harvestor::FileName parts;
  parts.Initialize(target);
  const std::string base = parts.PathAndFileNameSansExtension();
  StudyFiles written;
  if (filterIndex == 2) written.files.push_back(base + ".debug");
  written.files.push_back(target);
  written.log = base + ".log";
  written.files.push_back(written.log);
  return written;
}

// What the run wrote, from its log (or, for CSV, from the grid page), and
// which of the run's outcome lines its log holds.
struct StudyOutcome {
  StudyExportTally tally;
  std::size_t csvFragments = 0;
  std::string csvFailure;  // why the grid could not write, where known
  bool wroteNoSubject = false;
  std::vector<std::string> records;  // of files written
  std::vector<bool> found;           // by prefix asked about
};

StudyOutcome outcomeOf(const StudyExportRequest& request, ConsoleHost& host,
                       const std::vector<std::string_view>& prefixes) {
  StudyOutcome outcome;
  const harvestor::LineArena* log = harvestor::ErrorLog::Lines();
  const harvestor::LineArena none;
  // The log of a study export is walked once for everything asked of it.
  StudyLogScan scan = scanStudyLog(log ? *log : none, prefixes);
  outcome.records = std::move(scan.records);
  outcome.found = std::move(scan.found);
  if (request.filterIndex >= 2) {
    outcome.tally = std::move(scan.tally);
    outcome.wroteNoSubject = outcome.tally.subjectsWritten == 0;
  } else if (const auto grid = std::dynamic_pointer_cast<FragmentGridPage>(
                 host.windows().lastPage("FragmentGrid"))) {
    outcome.csvFragments = grid->fragmentsWritten();
    outcome.csvFailure = grid->failure();
    outcome.tally.subjectsWritten = grid->subjectsWritten();
    outcome.wroteNoSubject = outcome.csvFragments == 0;
  }
  return outcome;
}

void printSummary(std::ostream& out, const StudyExportRequest& request,
                  const StudyOutcome& outcome) {
  const StudyFiles expected = studyFiles(request.output, request.filterIndex);
  std::vector<std::string> written;
  for (const std::string& file : expected.files) {
    if (recordsWriting(outcome.records, file)) written.push_back(file);
  }
  // A run stopped before any file was kept wrote no subject, however many
  // it had taken into its table.
  const bool noneKept = !request.toStandardOutput && written.empty();
  StudyExportTally tally = outcome.tally;
  if (noneKept) tally.subjectsWritten = 0;
  if (request.filterIndex >= 2) {
    printStudyTally(out, tally, request.filterIndex == 2);
  } else {
    printCsvTally(out, noneKept ? 0 : outcome.csvFragments, tally.subjectsWritten);
  }
  if (request.toStandardOutput) return;  // the file is on standard output
  printFiles(out, written);
  printLogFile(out, recordsWriting(outcome.records, expected.log) ? expected.log : std::string());
}

// The locus list check takes the list's length as a 16-bit number, so a list
// too long for it counts as missing or empty and the export asks whether to
// go on; the exporters still read all of it. Says why, before the question.
// The exporters count the list's entries in 16 bits too: a list of more
// entries would stop the export with an overflow part way, so it is refused
// here, before anything is written. Answers the refusal, empty when the
// export may go on.
std::string checkLocusList(std::ostream& err) {
  const std::string list = harvestor::LocusListFile::FullName();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(list, ec)) return {};
  const auto size = std::filesystem::file_size(list, ec);
  if (ec || size <= kSixteenBitLimit) return {};
  err << "harvestor export-study: the locus list " << list << " holds " << size
      << " bytes, more than the " << kSixteenBitLimit
      << " bytes its check can measure (a 16-bit length), so it counts as missing or empty.\n";
  const std::optional<std::string> content = harvestor::ReadWholeFile(list);
  if (!content) return {};
  const std::size_t entries = harvestor::LocusListFile::SplitLines(*content).size();
  if (entries <= kSixteenBitLimit) return {};
  return "the locus list " + list + " holds " + std::to_string(entries) +
         " entries, more than the " + std::to_string(kSixteenBitLimit) +
         " a study export counts (a 16-bit count); nothing was written.";
}

}  // namespace

std::int16_t studyFormatIndex(const std::string& format) {
  const char* const names[] = {"csv", "pedin", "dmp", "gsr"};
  for (std::int16_t i = 0; i < 4; ++i) {
    if (format == names[i]) return static_cast<std::int16_t>(i + 1);
  }
  return 0;
}

int runStudyExport(const StudyExportRequest& request, CommandContext& context) {
  std::ostream& report = request.toStandardOutput ? context.err : context.out;
  ConsoleHost host({report, context.err, context.in, context.interactive, context.progressTerminal,
                    request.verbose});
  host.openStudy(request.database, request.study);
  harvestor::Service& service = host.service();
  host.windows().dialog().choose(std::filesystem::absolute(request.output).string(),
                                 request.filterIndex);
  host.ui().setAnswer(request.answer);
  if (request.toStandardOutput) {
    // As the status page shows it: long paths are shortened there.
    host.windows().showPathAs(harvestor::ResultExportRoutines::ShortenLongPaths(
                                  std::filesystem::absolute(request.output).string()),
                              "standard output");
  }
  if (request.filterIndex >= 2) {
    if (const std::string refusal = checkLocusList(context.err); !refusal.empty()) {
      context.err << "harvestor export-study: " << refusal << "\n";
      return 2;
    }
  }
  try {
    service.ExportStudy();
  } catch (const harvestor::HError&) {
    // Already reported, level by level, on standard error.
  }
  const auto page = std::dynamic_pointer_cast<harvestor::ExportStudyStatusPage>(
      host.windows().lastPage("ExportStudyStatus"));
  if (page && page->cmdOK.Enabled()) page->cmdOK.Click();
  host.endRun();
  const ConsoleHost::RunLines runLines = {
      "Processing aborted by user: ",
      "export aborted.",
      "Export Complete.",
      {"Can't create ", "Export failed."},
      request.verbose ? "the export did not write every file; see the log above."
                      : "the export did not write every file; see the export log."};
  const StudyOutcome outcome = outcomeOf(request, host, ConsoleHost::prefixesOf(runLines));
  if (!request.verbose) printSummary(report, request, outcome);
  if (!outcome.csvFailure.empty()) context.err << "harvestor: " << outcome.csvFailure << "\n";

  const int status = host.exitStatus(runLines, context.err, outcome.found);
  if (status != 0 || !outcome.wroteNoSubject) return status;
  context.err << "harvestor: the export wrote no subject"
              << (request.filterIndex >= 2 ? " (every result was excluded or had no subject ID)"
                                           : " (the study has no fragment)")
              << ".\n";
  return kNothingWritten;
}

Command exportStudyCommand() {
  Command c;
  c.name = "export-study";
  c.summary = "export a study as CSV, Linkage, Discovery Manager or Summary Report";
  c.usage =
      "usage: harvestor export-study STUDY.db [-s NAME] -f csv|pedin|dmp|gsr -o FILE\n"
      "                              [-y|--yes|--no] [-v|--verbose]\n\n"
      "Exports the study (the database's only one unless --study names it) in the\n"
      "format given, then prints a summary: subjects written and skipped, conflicts,\n"
      "results, loci missing, unknown alleles, the subjects whose IDs the Linkage\n"
      "file's 11-character cut makes equal, the files written with their sizes and\n"
      "the log file. -o - writes a csv export to standard output (the summary goes\n"
      "to standard error); the other formats need a file name. Exit status: 0 done,\n"
      "1 failed, 2 a usage error, 3 done but no subject was written. The Linkage,\n"
      "Discovery Manager and Summary Report exports write the export log beside FILE\n"
      "as a .log file; --verbose prints the whole log as it grows instead.\n"
      "When the locus list is missing or empty, --yes goes on and --no stops; without\n"
      "either the question is asked at the terminal, or answered No.\n";
  c.define = [](CLI::App& app) {
    struct Options {
      std::string database, study, format, output;
      bool yes = false, no = false, verbose = false;
    };
    auto o = std::make_shared<Options>();
    app.add_option("STUDY.db", o->database, "the study database or server")->required();
    addValue(app, "-s,--study", o->study, "the study; default: the database's only one", "NAME");
    addChoice(app, "-f,--format", o->format, {"csv", "pedin", "dmp", "gsr"}, "the export's format")
        ->required();
    addValue(app, "-o,--output", o->output, "the file to write", "FILE")->required();
    auto* yes = addSwitch(app, "-y,--yes", o->yes, "go on when the locus list is missing or empty");
    auto* no = addSwitch(app, "--no", o->no, "stop when the locus list is missing or empty");
    addSwitch(app, "-v,--verbose", o->verbose, "print the whole export log as it grows");
    return [o, yes, no](CommandContext& context) {
      StudyExportRequest request;
      request.database = o->database;
      requireStore(request.database);
      request.study = o->study;
      request.filterIndex = studyFormatIndex(o->format);
      request.toStandardOutput = o->output == "-";
      std::optional<StandardOutputFile> standardOutput;
      if (request.toStandardOutput) {
        refuseStandardOutput(o->format);
        standardOutput.emplace(".csv");
        request.output = standardOutput->path();
      } else {
        request.output = o->output;
        requireFolderOf(request.output);
        refuseSelfOverwrite(request.output, request.filterIndex);
      }
      refuseBoth(yes, no);
      if (o->yes) request.answer = true;
      if (o->no) request.answer = false;
      request.verbose = o->verbose;
      const int status = runStudyExport(request, context);
      if (standardOutput && status != 1 && standardOutput->copyTo(context.out) < 0) {
        context.err << "harvestor: the export could not be written to standard output.\n";
        return 1;
      }
      return status;
    };
  };
  return c;
}

}  // namespace workstation::console
