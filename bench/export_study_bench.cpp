// Times harvestor export-study on the benchmark-sized study in every format:
// the whole command (a child process, from database to files), and, in
// process, the shares spent loading the study, building the genotype table,
// writing the files and showing the log.

#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "bench/Stopwatch.h"
#include "bench/StudyTableDump.h"
#include "bench/SyntheticStudy.h"
#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/ExportLogBox.h"
#include "tests/fakes/TestHost.h"
#include "workstation/store/FragmentGridPage.h"
#include "workstation/store/StudyDatabase.h"

using namespace harvestor;
using bench::Clock;
using bench::Seconds;

namespace {

// Reads the log the way the console does, line by line as it is shown, into nowhere.
struct NullScreen : IControlObserver {
  std::size_t bytes = 0;
  void Changed(const Control&) override {}
  void LinesAdded(const Control& c, std::size_t first, std::size_t count) override {
    for (std::string_view line : static_cast<const ExportLogBox&>(c).Lines(first, count)) {
      bytes += line.size() + 2;
    }
  }
};

}  // namespace

int main(int argc, char** argv) {
  const int subjects = argc > 1 ? std::stoi(argv[1]) : 10000;
  const int loci = 40;
  testing::TestHost host;
  std::string list;
  for (int l = 0; l < loci; ++l) list += bench::SyntheticLocusName(l) + "\r\n";
  host.WriteLocusList(list);
  const std::string db = host.Path("bench.db");
  {
    const auto synthetic = bench::MakeSyntheticStudy(subjects, 2, loci);
    workstation::addStudy(
        db, workstation::readStudyTables("Bench", bench::DumpStudyTables(*synthetic, host.root)));
  }
  std::printf("study: %d subjects, %d results, %d fragments\n", subjects, subjects * 2,
              subjects * 2 * loci * 2);

  const char* formats[] = {"csv", "pedin", "dmp", "gsr"};
  const char* files[] = {"bench.csv", "bench.pre", "bench.txt", "bench.gsr"};
  for (int f = 0; f < 4; ++f) {
    // The whole command, as a user runs it.
    const std::string command = std::string(HARVESTOR_COMMAND) + " export-study " + db +
                                " --format " + formats[f] + " --output " + host.Path(files[f]) +
                                " --yes >/dev/null 2>&1";
    const std::string env = "HARVESTOR_COMPONENT_DIR=" + host.root + "/App/bin ";
    auto t = Clock::now();
    const int status = std::system((env + command).c_str());
    const double whole = Seconds(t);

    // The same work in process, phase by phase.
    t = Clock::now();
    const auto study = workstation::StudyDatabase(db).loadStudy("Bench");
    const double load = Seconds(t);
    ErrorLog::InitalizeExportLog();
    double build = 0, write = 0;
    if (f == 0) {
      workstation::FragmentGridPage grid;
      grid.IPageAccess_Page().Attach(nullptr, std::any(std::shared_ptr<IStudy>(study)), nullptr);
      t = Clock::now();
      grid.Export(host.Path(files[f]));
      write = Seconds(t);
    } else {
      GenoGroup group;
      t = Clock::now();
      group.BuildGenoGroup(*study);
      build = Seconds(t);
      t = Clock::now();
      if (f == 1) group.ExportAsPedin(host.Path(files[f]));
      if (f == 2) group.ExportAsDMP(host.Path(files[f]));
      if (f == 3) group.ExportAsGSR(host.Path(files[f]));
      write = Seconds(t);
    }
    ExportLogBox box("txtExportErrors");
    NullScreen screen;
    box.Observe(&screen);
    t = Clock::now();
    box.Show();  // the page shows the log four times a run; each shows only what was added
    const double display = Seconds(t);
    const double parts = load + build + write + display;
    std::printf(
        "%-5s whole command %6.2f s (exit %d) | in process: load %5.2f s (%2.0f%%)  build %5.2f s "
        "(%2.0f%%)  write %5.2f s (%2.0f%%)  log display %5.3f s (%2.0f%%), %zu log lines\n",
        formats[f], whole, WEXITSTATUS(status), load, 100 * load / parts, build,
        100 * build / parts, write, 100 * write / parts, display, 100 * display / parts,
        ErrorLog::Lines()->Count());
  }
  return 0;
}
