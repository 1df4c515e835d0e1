#pragma once
// A fragment held by value: the plain implementation of the fragment
// interface that a study store or a test fills field by field.

#include <cstdint>
#include <string>

#include "harvestor/service/StudyObjects.h"

namespace harvestor {

struct FragmentRecord final : IFragment {
  std::string locus, alleleId, comment;
  std::int32_t conditionCode = 0;
  bool excluded = false;
  std::int16_t dye = 1;
  float size = 0, height = 0, area = 0, divisor = 1;

  std::string Locus() const override { return locus; }
  std::string AlleleID() const override { return alleleId; }
  std::string Comment() const override { return comment; }
  std::int32_t ConditionCode() const override { return conditionCode; }
  bool Excluded() const override { return excluded; }
  std::int16_t Dye() const override { return dye; }
  float FragmentSize() const override { return size; }
  float PeakHeight() const override { return height; }
  float PeakArea() const override { return area; }
  float AreaDivisor() const override { return divisor; }
};

}  // namespace harvestor
