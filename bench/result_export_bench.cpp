// Times the result export on the benchmark study: text files for 100, 1,000,
// 10,000 and 40,000 results (the last in two runs of the status page, as the
// 16-bit counters require) and CRV sets of 100 and 1,000 results, through the
// whole wizard and run as harvestor export-results does them. Prints seconds
// and milliseconds per result, and each size's time per result over that of
// 100 results, so that growth with the number already exported would show.

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

// Seconds per result.
double Run(const std::string& db, const std::string& folder, std::int16_t filterIndex, int count,
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
  std::printf("%-4s %6d results  %7.2f s  %6.3f ms per result  (exit %d)",
              filterIndex == 1 ? "text" : "crv", count, seconds, 1000 * seconds / count, status);
  return seconds / count;
}

}  // namespace

int main(int argc, char** argv) {
  const int subjects = argc > 1 ? std::stoi(argv[1]) : 20000;
  testing::TestHost host;
  const std::string db = BuildDatabase(host, subjects, 1000);
  std::vector<std::string> names;
  for (int s = 0; s < subjects; ++s) {
    for (int r = 0; r < 2; ++r) {
      names.push_back("Sample " + std::to_string(s) + "." + std::to_string(r) + "_0407221455");
    }
  }
  const int all = static_cast<int>(names.size());
  double first = 0, previous = 0;
  for (int count : {100, 1000, 10000, 40000}) {
    if (count > all) break;
    const double perResult = Run(db, host.Path("text"), 1, count, names);
    if (first == 0) {
      first = perResult;
      std::printf("\n");
    } else {
      std::printf("  %.2fx the time per result at 100, %.2fx at the size before\n",
                  perResult / first, perResult / previous);
    }
    previous = perResult;
  }
  for (int count : {100, 1000}) {
    if (count > all) break;
    Run(db, host.Path("crv"), 3, count, names);
    std::printf("\n");
  }
  return 0;
}
