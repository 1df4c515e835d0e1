#include "bench/StudyTableDump.h"

#include <cstdio>
#include <fstream>

namespace harvestor::bench {

workstation::StudyTableFiles DumpStudyTables(const IStudy& study, const std::string& folder) {
  workstation::StudyTableFiles files{folder + "/fragments.tsv", folder + "/results.tsv",
                                     folder + "/subjects.tsv", ""};
  std::ofstream fragments(files.fragments), results(files.results), subjects(files.subjects);
  fragments << "Result Name\tSubject ID\tLocus\tAllele ID\tFragment Size\tPeak Height\tPeak Area\t"
               "Excluded\n";
  results << "Result Name\tSubject ID\tExcluded\n";
  subjects << "Subject ID\tResult Name\tPedigree ID\tFather ID\tMother ID\tGender\t"
              "Affectation Status\tPopulation ID\n";
  const auto all = study.Results();
  for (int i = 0; i < all->Count(); ++i) {
    const auto studyResult = all->Item(i);
    const auto result = studyResult->Result();
    const auto sample = result->Sample();
    const std::string name = result->ResultName(), subject = sample->SubjectID();
    results << name << '\t' << subject << '\t' << (studyResult->Excluded() ? 1 : 0) << '\n';
    subjects << subject << '\t' << name;
    const auto properties = sample->SubjectRecord()->Properties();
    for (int p = 0; p < properties->Count(); ++p)
      subjects << '\t' << properties->Item(p).Value.ToText();
    subjects << '\n';
    const auto list = studyResult->Fragments();
    char numbers[96];
    for (int f = 0; f < list->Count(); ++f) {
      const IFragment& fragment = list->Item(f);
      std::snprintf(numbers, sizeof numbers, "%.2f\t%.0f\t%.0f\t%d", fragment.FragmentSize(),
                    fragment.PeakHeight(), fragment.PeakArea(), fragment.Excluded() ? 1 : 0);
      fragments << name << '\t' << subject << '\t' << fragment.Locus() << '\t'
                << fragment.AlleleID() << '\t' << numbers << '\n';
    }
  }
  return files;
}

}  // namespace harvestor::bench
