// Times building the genotype table and writing the Linkage export of a
// synthetic study at full and at one tenth size, so growth can be seen to be
// linear. Prints seconds and fragments per second.

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/Stopwatch.h"
#include "bench/SyntheticStudy.h"
#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/service/ErrorLog.h"
#include "tests/fakes/TestHost.h"

using namespace harvestor;
using bench::Clock;
using bench::Seconds;

namespace {

void Run(int subjects) {
  const int results = 2, loci = 40;
  testing::TestHost host;
  std::string list;
  for (int l = 0; l < loci; ++l) list += bench::SyntheticLocusName(l) + "\r\n";
  host.WriteLocusList(list);
  const auto study = bench::MakeSyntheticStudy(subjects, results, loci);
  const double fragments = double(subjects) * results * loci * 2;

  ErrorLog::InitalizeExportLog();
  const auto t0 = Clock::now();
  GenoGroup group;
  group.BuildGenoGroup(*study);
  const double build = Seconds(t0);
  const auto t1 = Clock::now();
  group.ExportAsPedin(host.Path("Bench.pre"));
  const double write = Seconds(t1);
  const double total = build + write;
  std::printf(
      "subjects %6d  fragments %8.0f  build %7.3f s  pedin %7.3f s  total %7.3f s  "
      "%10.0f fragments/s  log lines %zu  .pre %ju bytes\n",
      subjects, fragments, build, write, total, fragments / total, ErrorLog::Lines()->Count(),
      static_cast<std::uintmax_t>(std::filesystem::file_size(host.Path("Bench.pre"))));
}

}  // namespace

int main(int argc, char** argv) {
  const int full = argc > 1 ? std::stoi(argv[1]) : 10000;
  Run(full / 10);
  Run(full);
  if (argc > 2) Run(full);
  return 0;
}
