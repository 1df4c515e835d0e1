#include "bench/PlinkTextFileset.h"

#include <charconv>
#include <fstream>
#include <map>
#include <set>
#include <stdexcept>

namespace harvestor::bench {
namespace {

char PlinkAllele(const IFragment& fragment) {
  if (fragment.Excluded()) return '0';
  const std::string id = fragment.AlleleID();
  long number = 0;
  const auto [end, error] = std::from_chars(id.data(), id.data() + id.size(), number);
  if (id.empty() || error != std::errc() || end != id.data() + id.size()) return '0';
  return number % 2 == 0 ? 'A' : 'C';
}

// PLINK's ID fields: no blanks, '0' for missing.
std::string PlinkId(const std::string& id) { return id.empty() ? "0" : id; }

std::string Property(const IPropertyList& properties, const std::string& name) {
  for (int p = 0; p < properties.Count(); ++p) {
    const PropertyEntry entry = properties.Item(p);
    if (entry.Name == name) return entry.Value.ToText();
  }
  return "";
}

}  // namespace

void WritePlinkTextFileset(const IStudy& study, const std::vector<std::string>& loci,
                           const std::string& prefix) {
  std::ofstream map(prefix + ".map"), ped(prefix + ".ped");
  if (!map || !ped) throw std::runtime_error("cannot write " + prefix + ".ped/.map");
  std::map<std::string, std::size_t> column;
  for (std::size_t l = 0; l < loci.size(); ++l) {
    map << "1\t" << loci[l] << "\t0\t" << (l + 1) * 1000 << '\n';
    column[loci[l]] = l;
  }
  std::set<std::string> written;
  std::string genotypes;
  const auto results = study.Results();
  for (int i = 0; i < results->Count(); ++i) {
    const auto studyResult = results->Item(i);
    const auto sample = studyResult->Result()->Sample();
    const std::string subject = sample->SubjectID();
    if (subject.empty() || !written.insert(subject).second) continue;
    const auto properties = sample->SubjectRecord()->Properties();
    std::string sex = Property(*properties, "Gender"),
                status = Property(*properties, "Affectation Status");
    ped << PlinkId(Property(*properties, "Pedigree ID")) << ' ' << subject << ' '
        << PlinkId(Property(*properties, "Father ID")) << ' '
        << PlinkId(Property(*properties, "Mother ID")) << ' ' << (sex.empty() ? "0" : sex) << ' '
        << (status.empty() ? "0" : status);
    // Two codes per locus, in the map's order; a locus called fewer than twice is missing.
    genotypes.assign(loci.size() * 2, '0');
    std::vector<int> calls(loci.size(), 0);
    const auto fragments = studyResult->Fragments();
    for (int f = 0; f < fragments->Count(); ++f) {
      const IFragment& fragment = fragments->Item(f);
      const auto it = column.find(fragment.Locus());
      if (it == column.end() || calls[it->second] == 2) continue;
      genotypes[it->second * 2 + static_cast<std::size_t>(calls[it->second]++)] =
          PlinkAllele(fragment);
    }
    for (std::size_t l = 0; l < loci.size(); ++l) {
      // PLINK refuses half-missing genotypes.
      if (genotypes[l * 2] == '0' || genotypes[l * 2 + 1] == '0')
        genotypes[l * 2] = genotypes[l * 2 + 1] = '0';
      ped << ' ' << genotypes[l * 2] << ' ' << genotypes[l * 2 + 1];
    }
    ped << '\n';
  }
  if (!map.flush() || !ped.flush())
    throw std::runtime_error("cannot write " + prefix + ".ped/.map");
}

}  // namespace harvestor::bench
