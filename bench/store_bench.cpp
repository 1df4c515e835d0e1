// Times the study database on the benchmark-sized study: importing it from
// tables, loading it back and enumerating every fragment, and a Linkage
// export from the loaded study. Prints seconds, sizes and rates.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/Stopwatch.h"
#include "bench/StudyTableDump.h"
#include "bench/SyntheticStudy.h"
#include "harvestor/genotype/GenoGroup.h"
#include "tests/fakes/TestHost.h"
#include "workstation/store/StudyDatabase.h"

using namespace harvestor;
using bench::Clock;
using bench::Seconds;

namespace {

void Run(int subjects) {
  testing::TestHost host;
  const int loci = 40;
  workstation::StudyTableFiles files;
  {
    const auto synthetic = bench::MakeSyntheticStudy(subjects, 2, loci);
    files = bench::DumpStudyTables(*synthetic, host.root);
  }
  const std::string db = host.Path("bench.db");
  auto t = Clock::now();
  workstation::addStudy(db, workstation::readStudyTables("Bench", files));
  const double import = Seconds(t);

  t = Clock::now();
  workstation::StudyDatabase store(db);
  const auto study = store.loadStudy("Bench");
  const double load = Seconds(t);
  t = Clock::now();
  std::size_t fragments = 0, called = 0;
  const auto results = study->Results();
  for (int i = 0; i < results->Count(); ++i) {
    const auto list = results->Item(i)->Fragments();
    for (int f = 0; f < list->Count(); ++f) {
      ++fragments;
      called += list->Item(f).AlleleID().empty() ? 0 : 1;
    }
  }
  const double enumerate = Seconds(t);

  std::string list;
  for (int l = 0; l < loci; ++l) list += bench::SyntheticLocusName(l) + "\r\n";
  host.WriteLocusList(list);
  t = Clock::now();
  GenoGroup group;
  group.BuildGenoGroup(*study);
  group.ExportAsPedin(host.Path("bench.pre"));
  const double pedin = Seconds(t);
  std::printf(
      "subjects %6d  fragments %8zu  import %6.2f s  database %6.1f MiB  load %6.2f s  "
      "enumerate %6.3f s  build+pedin %6.2f s  (%0.f fragments/s loaded)\n",
      subjects, fragments, import,
      static_cast<double>(std::filesystem::file_size(db)) / (1024.0 * 1024.0), load, enumerate,
      pedin, static_cast<double>(fragments) / load);
  (void)called;
}

}  // namespace

int main(int argc, char** argv) {
  const int full = argc > 1 ? std::stoi(argv[1]) : 10000;
  Run(full / 10);
  Run(full);
  return 0;
}
