// Writes the synthetic study of SUBJECTS subjects as import tables in FOLDER
// (fragments.tsv, results.tsv, subjects.tsv), the LocusList.txt that exports
// every one of its loci, and the same subjects' genotypes as the PLINK text
// fileset plink.ped and plink.map, for scripts/bench.sh.
//
//   bench_tables SUBJECTS FOLDER [LOCI [RESULTS_PER_SUBJECT]]   (defaults 50 and 2)

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "bench/PlinkTextFileset.h"
#include "bench/StudyTableDump.h"
#include "bench/SyntheticStudy.h"

using namespace harvestor;

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5) {
    std::fprintf(stderr, "usage: bench_tables SUBJECTS FOLDER [LOCI [RESULTS_PER_SUBJECT]]\n");
    return 2;
  }
  try {
    const int subjects = std::stoi(argv[1]);
    const std::string folder = argv[2];
    const int loci = argc > 3 ? std::stoi(argv[3]) : 50;
    const int resultsPerSubject = argc > 4 ? std::stoi(argv[4]) : 2;
    std::filesystem::create_directories(folder);
    std::vector<std::string> names;
    std::ofstream list(folder + "/LocusList.txt", std::ios::binary);
    for (int l = 0; l < loci; ++l) {
      names.push_back(bench::SyntheticLocusName(l));
      list << names.back() << "\r\n";
    }
    if (!list.flush()) throw std::runtime_error("cannot write " + folder + "/LocusList.txt");
    const auto study = bench::MakeSyntheticStudy(subjects, resultsPerSubject, loci);
    bench::DumpStudyTables(*study, folder);
    bench::WritePlinkTextFileset(*study, names, folder + "/plink");
    std::printf("%d subjects, %d results each, %d loci: tables in %s\n", subjects,
                resultsPerSubject, loci, folder.c_str());
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_tables: %s\n", e.what());
    return 1;
  }
  return 0;
}
