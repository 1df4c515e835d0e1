#include "bench/SyntheticStudy.h"

#include <cstdio>
#include <string>

namespace harvestor::bench {

std::string SyntheticLocusName(int index) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "L%03d", index + 1);
  return buf;
}

std::shared_ptr<testing::FakeStudy> MakeSyntheticStudy(int subjects, int resultsPerSubject,
                                                       int loci) {
  auto study = std::make_shared<testing::FakeStudy>();
  study->name = "Synthetic";
  for (int s = 0; s < subjects; ++s) {
    const std::string subject = "S" + std::to_string(100000 + s);
    for (int r = 0; r < resultsPerSubject; ++r) {
      const bool excludedResult = (s % 97 == 0) && r == 1;
      auto& result =
          study->AddResult("Sample " + std::to_string(s) + "." + std::to_string(r) + "_0407221455",
                           subject, excludedResult);
      result.Properties()
          .Text("Pedigree ID", "F" + std::to_string(s / 5))
          .Text("Father ID", s % 5 == 2 ? "S" + std::to_string(100000 + s - 2) : "")
          .Text("Mother ID", s % 5 == 2 ? "S" + std::to_string(100000 + s - 1) : "")
          .Number("Gender", 1 + s % 2)
          .Number("Affectation Status", s % 3)
          .Text("Population ID", "P" + std::to_string(s % 3));
      result.fragments->items.reserve(static_cast<std::size_t>(loci) * 2);
      for (int l = 0; l < loci; ++l) {
        const std::string locus = SyntheticLocusName(l);
        for (int a = 0; a < 2; ++a) {
          auto& fragment = result.Call(locus, std::to_string(10 + (s + l + a * 3) % 12));
          if ((s + l) % 211 == 0) fragment.alleleId.clear();
          if ((s * 7 + l + a) % 509 == 0) fragment.excluded = true;
        }
      }
    }
  }
  return study;
}

}  // namespace harvestor::bench
