// Times the result export on the benchmark study: text files for 100, 1,000,
// 10,000 and 40,000 results (the last in two runs of the status page, as the
// 16-bit counters require) and CRV sets of 100 and 1,000 results, through the
// whole wizard and run as harvestor export-results does them. Prints seconds
// and milliseconds per result, each size's time per result over that of 100
// results, and the time of each result added from one size to the next, so
// that growth with the number already exported would show. Files are synced
// one by one: with TMPDIR on a memory filesystem (/dev/shm) the figures are
// the export's own, on a disk mostly the disk's.

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

// Seconds for the whole export.
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
  return seconds;
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
  // Each size's time per result against that at 100 results, and the time of
  // each result added since the size before (the run's fixed cost, loading
  // the study, left out) against that of the first step: flat is 1.
  double firstPerResult = 0, firstAdded = 0, previousSeconds = 0;
  int previousCount = 0;
  for (int count : {100, 1000, 10000, 40000}) {
    if (count > all) break;
    const double seconds = Run(db, host.Path("text"), 1, count, names);
    const double perResult = seconds / count;
    if (previousCount == 0) {
      firstPerResult = perResult;
      std::printf("\n");
    } else {
      const double added = (seconds - previousSeconds) / (count - previousCount);
      if (firstAdded == 0) firstAdded = added;
      std::printf(
          "  %.2fx the time per result at 100; %.3f ms per result added, %.2fx that "
          "from 100 to 1000\n",
          perResult / firstPerResult, 1000 * added, added / firstAdded);
    }
    previousSeconds = seconds;
    previousCount = count;
  }
  for (int count : {100, 1000}) {
    if (count > all) break;
    Run(db, host.Path("crv"), 3, count, names);
    std::printf("\n");
  }
  return 0;
}
