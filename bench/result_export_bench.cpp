// Times the result export on the benchmark study: text files for 2,000 and
// 20,000 results and CRV sets of 100 and 1,000 results, through the whole
// wizard and run as harvestor export-results does them. Prints seconds and
// milliseconds per result, so that growth with the number already exported
// would show.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "bench/StudyTableDump.h"
#include "bench/SyntheticStudy.h"
#include "tests/fakes/TestHost.h"
#include "workstation/console/ResultExport.h"

using namespace harvestor;
using Clock = std::chrono::steady_clock;

namespace {

std::string BuildDatabase(testing::TestHost& host, int subjects, int tracedResults) {
  const auto synthetic = bench::MakeSyntheticStudy(subjects, 2, 40);
  auto files = bench::DumpStudyTables(*synthetic, host.root);
  files.traces = host.Path("traces.tsv");
  std::ofstream traces(files.traces);
  traces << "Result Name\tDye\tScan\tValue\n";
  for (int r = 0; r < tracedResults; ++r) {
    const std::string name = synthetic->results->items[static_cast<std::size_t>(r)]->result->name;
    for (int dye = 1; dye <= 4; ++dye) {
      for (int scan = 0; scan < 500; ++scan)
        traces << name << '\t' << dye << '\t' << scan << '\t' << (scan * dye) % 997 << '\n';
    }
  }
  traces.close();
  const std::string db = host.Path("bench.db");
  workstation::addStudy(db, workstation::readStudyTables("Bench", files));
  return db;
}

void Run(const std::string& db, const std::string& folder, std::int16_t filterIndex, int count,
         const std::vector<std::string>& names) {
  std::filesystem::remove_all(folder);
  std::filesystem::create_directories(folder);
  std::ostringstream sink;
  std::istringstream none;
  workstation::console::CommandContext context{sink, sink, none, false};
  workstation::console::ResultExportRequest request;
  request.database = db;
  request.outputTemplate = folder + (filterIndex == 1 ? "/{Result Name}.txt" : "/Plate.CRV");
  request.filterIndex = filterIndex;
  request.results.assign(names.begin(), names.begin() + count);
  request.header = request.resultData = filterIndex == 1;
  const auto t = Clock::now();
  const int status = workstation::console::runResultExport(request, context);
  const double seconds = std::chrono::duration<double>(Clock::now() - t).count();
  std::printf("%-4s %6d results  %7.2f s  %6.3f ms per result  (exit %d)\n",
              filterIndex == 1 ? "text" : "crv", count, seconds, 1000 * seconds / count, status);
}

}  // namespace

int main(int argc, char** argv) {
  const int subjects = argc > 1 ? std::stoi(argv[1]) : 10000;
  testing::TestHost host;
  const std::string db = BuildDatabase(host, subjects, 1000);
  std::vector<std::string> names;
  for (int s = 0; s < subjects; ++s) {
    for (int r = 0; r < 2; ++r) {
      names.push_back("Sample " + std::to_string(s) + "." + std::to_string(r) + "_0407221455");
    }
  }
  Run(db, host.Path("text"), 1, static_cast<int>(names.size()) / 10, names);
  Run(db, host.Path("text"), 1, static_cast<int>(names.size()), names);
  Run(db, host.Path("crv"), 3, 100, names);
  Run(db, host.Path("crv"), 3, std::min<int>(1000, static_cast<int>(names.size())), names);
  return 0;
}
