#include "tests/store/GeneratedStudy.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <numeric>
#include <stdexcept>
#include <vector>

namespace workstation::testing {
namespace {

// A fixed linear congruential sequence, so no library's generator can change the study.
class Sequence {
 public:
  explicit Sequence(std::uint64_t seed) : state_(seed) {}
  std::uint32_t next(std::uint32_t bound) {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return static_cast<std::uint32_t>(state_ >> 33) % bound;
  }

 private:
  std::uint64_t state_;
};

const char* const kLoci[] = {"D5S818", "vWA", "TH01", "FGA", "Amel"};

std::string subjectId(int s) {
  if (s % 53 == 7) return "LONGSUBJECT-" + std::to_string(s);   // cut to eleven in the Linkage file
  if (s % 41 == 3) return "s" + std::to_string(s * 37 % 9973);  // sorts among the S... without case
  return "S" + std::to_string(s * 7919 % 100003);
}

struct Result {
  std::string name;
  std::string subject;
  int s = 0;
  int reading = 0;
};

std::ofstream open(const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  if (!out) throw std::runtime_error(path + ": cannot be written");
  return out;
}

void writeProperties(std::ofstream& out, const Result& r, Sequence& rnd) {
  const int s = r.s;
  std::string pedigree = "F" + std::to_string(s / 4), father, mother;
  if (s % 4 >= 2) {
    father = subjectId(s - s % 4);
    mother = subjectId(s - s % 4 + 1);
  }
  std::string gender = std::to_string(1 + s % 2), affection = std::to_string(s % 3);
  std::string liability = s % 6 == 0 ? "" : std::to_string(s % 4);
  std::string population = s % 10 == 0 ? "" : "Pop " + std::to_string(s % 3);
  if (s % 17 == 0) gender = "3";  // no gender the table knows
  if (s % 19 == 0) affection = "";
  if (s % 23 == 0) pedigree = "";
  if (s % 29 == 0) pedigree = "KINDRED-NUMBER-" + std::to_string(s);
  if (r.reading > 0) {
    const std::uint32_t change = rnd.next(6);
    if (change == 0) pedigree = "F" + std::to_string(s / 4 + 1);  // contradicts the first reading
    if (change == 1) {
      gender = gender == "1" ? "2" : "1";
      father = "X" + father;
    }
    if (change == 2) pedigree = liability = population = "";  // completes nothing
    if (change == 3) affection = "2";
  } else if (s % 13 == 0) {
    father = population = "";  // a later reading may supply what this one lacks
  }
  out << r.subject << '\t' << r.name << '\t' << pedigree << '\t' << father << '\t' << mother << '\t'
      << gender << '\t' << affection << '\t' << liability << '\t' << population << '\n';
}

void writeFragments(std::ofstream& out, const Result& r, Sequence& rnd) {
  struct Row {
    std::string locus, allele, comment;
    int condition = 0, excluded = 0, dye = 1;
    std::string size;
  };
  std::vector<Row> rows;
  for (int l = 0; l < 5; ++l) {
    const std::uint32_t shape = rnd.next(40);
    if (shape == 0) continue;  // locus not typed in this result
    for (int a = 0, alleles = shape == 1 ? 1 : (shape == 2 ? 3 : 2); a < alleles; ++a) {
      Row row;
      row.locus = rnd.next(30) == 0 && l == 1 ? "VWA" : kLoci[l];  // the same locus in other case
      const int value =
          8 + static_cast<int>((static_cast<unsigned>(r.s) * 3 + l * 5 + a * 7 + rnd.next(3)) % 9);
      row.allele = std::to_string(value);
      if (value == 11 && a == 1) row.allele = "11.3";
      if (value == 12 && rnd.next(4) == 0) row.allele = a == 0 ? "x12" : "X12";  // one allele
      const std::uint32_t oddity = rnd.next(60);
      if (oddity <= 1) row.allele.clear();
      if (oddity == 0) row.condition = 0x200;  // called, but off the ladder
      if (oddity == 2) row.excluded = 1;
      if (oddity == 3) row.condition = 4;
      if (oddity == 4) row.comment = "split, \"shoulder\"";
      row.dye = 1 + l % 4;
      row.size = std::to_string(100 + value * 4) + (a == 0 ? ".25" : ".5");
      rows.push_back(std::move(row));
    }
  }
  if (r.s % 31 == 5) rows.push_back({"", "", "stutter", 0, 0, 2, "77.75"});  // no locus assigned
  for (std::size_t i = rows.size(); i > 1; --i)
    std::swap(rows[i - 1], rows[rnd.next(static_cast<std::uint32_t>(i))]);
  for (const Row& row : rows) {
    out << r.name << '\t' << r.subject << '\t' << row.locus << '\t' << row.allele << '\t'
        << row.comment << '\t' << row.dye << '\t' << row.size << '\t' << (900 + row.dye * 100)
        << '\t' << (4000 + row.dye * 10) << '\t' << row.condition << '\t' << row.excluded << '\n';
  }
}

}  // namespace

StudyTableFiles WriteGeneratedStudy(int subjects, const std::string& folder) {
  Sequence rnd(20261206);
  std::vector<Result> results;
  for (int s = 0; s < subjects; ++s) {
    const int readings = s % 11 == 0 ? 3 : (s % 3 == 0 ? 2 : 1);
    for (int k = 0; k < readings; ++k) {
      Result r;
      r.s = s;
      r.reading = k;
      r.subject = subjectId(s);
      if (k == 1 && s % 7 == 0)
        r.subject[0] = r.subject[0] == 'S' ? 's' : 'S';  // the same subject in other case
      r.name = "Run" + std::to_string(k + 1) + "_" + std::to_string(s) + (s % 9 == 0 ? "  " : "");
      if (s % 89 == 4 && k == 0) r.subject.clear();
      results.push_back(std::move(r));
    }
  }
  // The order the plates were run in: a subject's results far apart.
  std::vector<std::size_t> order(results.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  for (std::size_t i = order.size(); i > 1; --i)
    std::swap(order[i - 1], order[rnd.next(static_cast<std::uint32_t>(i))]);

  StudyTableFiles files{folder + "/fragments.tsv", folder + "/results.tsv",
                        folder + "/subjects.tsv", ""};
  std::ofstream fragments = open(files.fragments), table = open(files.results),
                subjectsTable = open(files.subjects);
  fragments
      << "Result Name\tSubject ID\tLocus\tAllele ID\tComment\tDye\tFragment Size\tPeak Height\t"
         "Peak Area\tCondition Code\tExcluded\n";
  table << "Result Name\tSubject ID\tExcluded\n";
  subjectsTable << "Subject ID\tResult Name\tPedigree ID\tFather ID\tMother ID\tGender\t"
                   "Affectation Status\tLiability Class\tPopulation ID\n";
  for (std::size_t i : order) {
    const Result& r = results[i];
    table << r.name << '\t' << r.subject << '\t' << (r.s % 37 == 1 && r.reading == 0 ? 1 : 0)
          << '\n';
    if (!r.subject.empty()) writeProperties(subjectsTable, r, rnd);
    writeFragments(fragments, r, rnd);
  }
  return files;
}

std::string FirstDifference(const std::string& got, const std::string& want) {
  std::size_t i = 0;
  while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
  const std::size_t line = static_cast<std::size_t>(std::count(
                               want.begin(), want.begin() + static_cast<std::ptrdiff_t>(i), '\n')) +
                           1;
  const std::size_t start = want.rfind('\n', i == 0 ? 0 : i - 1);
  const std::size_t from = start == std::string::npos ? 0 : start + 1;
  return "line " + std::to_string(line) + ": got '" + got.substr(from, 120) + "' want '" +
         want.substr(from, 120) + "'";
}

std::string GeneratedLocusList() { return "D5S818\r\nvwa\r\nTH01\r\nD8S1179\r\nFGA\r\n"; }

}  // namespace workstation::testing
