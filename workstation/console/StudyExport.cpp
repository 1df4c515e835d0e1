#include "workstation/console/StudyExport.h"

#include <filesystem>
#include <ostream>

#include "harvestor/resultexport/FileName.h"
#include "harvestor/studypages/ExportStudyStatusPage.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/ConsoleHost.h"

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

}  // namespace

std::int16_t studyFormatIndex(const std::string& format) {
  const char* const names[] = {"csv", "pedin", "dmp", "gsr"};
  for (std::int16_t i = 0; i < 4; ++i) {
    if (format == names[i]) return static_cast<std::int16_t>(i + 1);
  }
  return 0;
}

int runStudyExport(const StudyExportRequest& request, CommandContext& context) {
  ConsoleHost host({context.out, context.err, context.in, context.interactive});
  host.openStudy(request.database, request.study);
  harvestor::Service& service = host.service();
  host.windows().dialog().choose(std::filesystem::absolute(request.output).string(),
                                 request.filterIndex);
  host.ui().setAnswer(request.answer);
  try {
    service.ExportStudy();
  } catch (const harvestor::HError&) {
    // Already reported, level by level, on standard error.
  }
  const auto page = std::dynamic_pointer_cast<harvestor::ExportStudyStatusPage>(
      host.windows().lastPage("ExportStudyStatus"));
  if (page && page->cmdOK.Enabled()) page->cmdOK.Click();

  return host.exitStatus({"Processing aborted by user: ", "export aborted.", "Export Complete.",
                          {"Can't create ", "Export failed."},
                          "the export did not write every file; see the log above."},
                         context.err);
}

Command exportStudyCommand() {
  Command c;
  c.name = "export-study";
  c.summary = "export a study as CSV, Linkage, Discovery Manager or Summary Report";
  c.usage =
      "usage: harvestor export-study STUDY.db [--study NAME] --format csv|pedin|dmp|gsr\n"
      "                              --output FILE [--yes|--no]\n\n"
      "Exports the study (the database's only one unless --study names it) in the\n"
      "format given. The export log is shown as it grows; the Linkage, Discovery\n"
      "Manager and Summary Report exports also write it beside FILE as a .log file.\n"
      "When the locus list is missing or empty, --yes goes on and --no stops; without\n"
      "either the question is asked at the terminal, or answered No.\n";
  c.run = [](const std::vector<std::string>& args, CommandContext& context) {
    const Arguments a(args,
                      {{"study", true}, {"format", true}, {"output", true}, {"yes"}, {"no"}}, 1, 1);
    StudyExportRequest request;
    request.database = a.positional()[0];
    requireStore(request.database);
    request.study = a.value("study");
    request.filterIndex = studyFormatIndex(a.choice("format", {"csv", "pedin", "dmp", "gsr"}));
    request.output = a.required("output");
    const auto folder = std::filesystem::absolute(request.output).parent_path();
    if (!std::filesystem::is_directory(folder)) throw UsageError("no such folder: " + folder.string());
    refuseSelfOverwrite(request.output, request.filterIndex);
    if (a.has("yes") && a.has("no")) throw UsageError("give --yes or --no, not both");
    if (a.has("yes")) request.answer = true;
    if (a.has("no")) request.answer = false;
    return runStudyExport(request, context);
  };
  return c;
}

}  // namespace workstation::console
