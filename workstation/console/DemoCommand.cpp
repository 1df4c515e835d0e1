#include <filesystem>
#include <ostream>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/loh/LOH.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/TextFile.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/Commands.h"
#include "workstation/console/ConsoleHost.h"
#include "workstation/console/Layout.h"
#include "workstation/console/ResultExport.h"
#include "workstation/console/StudyExport.h"
#include "workstation/store/StudyDatabase.h"
#include "workstation/store/StudyTables.h"

namespace workstation::console {
namespace {

void buildDemoDatabase(const std::string& path, CommandContext& context) {
  const std::string tables = demoTablesFolder();
  StudyTableFiles files{tables + "/fragments.tsv", tables + "/results.tsv",
                        tables + "/subjects.tsv", tables + "/traces.tsv"};
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  addStudy(path, readStudyTables("Demo", files));
  context.out << "Built the demo study database " << path << " from " << tables << "\n";
}

int runDemo(CommandContext& context) {
  const std::string database = demoDatabasePath();
  if (!harvestor::FileExists(database)) buildDemoDatabase(database, context);

  const std::string exportFolder = harvestor::ResultExportRoutines::FindExportPath();
  if (!harvestor::FolderExists(exportFolder)) {
    context.err << "harvestor demo: there is no export folder beside " << componentFolder() << "\n";
    return 1;
  }
  const std::string list = harvestor::LocusListFile::FullName();
  if (!harvestor::FileExists(list)) {
    std::filesystem::copy_file(demoTablesFolder() + "/LocusList.txt", list);
    context.out << "Wrote the demo locus list " << list << "\n";
  }

  int status = 0;
  const struct {
    const char* format;
    const char* file;
  } exports[] = {// A base name of its own per format: each keeps its own export log.
                 {"csv", "Demo-csv.csv"},
                 {"pedin", "Demo-pedin.pre"},
                 {"dmp", "Demo-dmp.txt"},
                 {"gsr", "Demo-gsr.gsr"}};
  for (const auto& e : exports) {
    context.out << "\n== " << e.format << "\n";
    StudyExportRequest request{database, "Demo", exportFolder + "/" + e.file,
                               studyFormatIndex(e.format), true};
    status = std::max(status, runStudyExport(request, context));
  }
  const std::string results = exportFolder + "/Results";
  std::filesystem::create_directories(results);
  for (std::int16_t filterIndex : {std::int16_t{1}, std::int16_t{3}}) {
    context.out << "\n== " << (filterIndex == 1 ? "results as text" : "results as one CRV set")
                << "\n";
    ResultExportRequest request;
    request.database = database;
    request.study = "Demo";
    request.outputTemplate = results + (filterIndex == 1 ? "/{Result Name}.txt" : "/Demo.CRV");
    request.filterIndex = filterIndex;
    request.all = true;
    request.header = request.resultData = filterIndex == 1;
    request.noResolve = true;  // a second demo run replaces the first one's files
    request.overwrite = true;
    status = std::max(status, runResultExport(request, context));
  }
  {
    context.out << "\n== LOH input file\n";
    ConsoleHost host({context.out, context.err, context.in, false});
    harvestor::LOH::CheckLOHSpreadsheet();
    const auto study = StudyDatabase(database).loadStudy("Demo");
    if (harvestor::LOH::WriteLOHInputFile(*study)) {
      context.out << "Wrote " << harvestor::LOH::InputFilePath() << "\n";
    } else {
      status = 1;
    }
  }
  context.out << "\nThe demo exports are in " << exportFolder << " and " << results << ":\n";
  for (const auto& entry : std::filesystem::directory_iterator(exportFolder)) {
    context.out << "  " << entry.path().filename().string() << "\n";
  }
  return status;
}

}  // namespace

Command demoCommand() {
  Command c;
  c.name = "demo";
  c.summary = "export the demo study in every format into the export folder";
  c.usage =
      "usage: harvestor demo\n\n"
      "Builds the demo study database from the demo tables if it is not there, puts\n"
      "the demo locus list in the export folder if there is none, and exports the\n"
      "demo study in all four study formats into the export folder, and its results\n"
      "as text files and as one CRV set into the folder Results there, and writes\n"
      "its LOH input file.\n";
  c.define = [](CLI::App&) -> CommandRun { return runDemo; };
  return c;
}

}  // namespace workstation::console
