#pragma once
// The study and what hangs from it, as the component reads it: read-only, on
// the host's one thread. A failing call raises an HError into the caller,
// whose error handling applies. Indexes are 0-based.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/Variant.h"

namespace harvestor {

class IFragment {
 public:
  virtual ~IFragment() = default;
  virtual std::string Locus() const = 0;  // empty when no locus is assigned
  virtual std::string AlleleID() const = 0;
  virtual std::string Comment() const = 0;
  virtual std::int32_t ConditionCode() const = 0;
  virtual bool Excluded() const = 0;
  virtual std::int16_t Dye() const = 0;
  virtual float FragmentSize() const = 0;
  virtual float PeakHeight() const = 0;
  virtual float PeakArea() const = 0;
  virtual float AreaDivisor() const = 0;
};

// The fragments of one study result, in order. An Item reference stays valid
// as long as the collection does.
class IFragments {
 public:
  virtual ~IFragments() = default;
  virtual std::int32_t Count() const = 0;
  virtual const IFragment& Item(std::int32_t index) const = 0;
};

struct PropertyEntry {
  std::string Name;
  Variant Value;
};

// A subject's property list: entries in order; a name may occur twice.
class IPropertyList {
 public:
  virtual ~IPropertyList() = default;
  virtual std::int32_t Count() const = 0;
  virtual PropertyEntry Item(std::int32_t index) const = 0;
};

class ISubjectRecord {
 public:
  virtual ~ISubjectRecord() = default;
  virtual std::shared_ptr<IPropertyList> Properties() const = 0;
  virtual double AreaScale() const = 0;
};

// A fragment-analysis run's sample. The trace data is what a result file
// and a trace writer carry: one series of scan values per dye, 1 to 4.
class ISample {
 public:
  virtual ~ISample() = default;
  virtual std::string SubjectID() const = 0;  // empty when the sample has none
  virtual std::int32_t AnalysisRevision() const = 0;
  virtual std::shared_ptr<ISubjectRecord> SubjectRecord() const = 0;
  virtual std::vector<float> Trace(std::int16_t dye) const = 0;
};

class IResult {
 public:
  virtual ~IResult() = default;
  virtual std::string ResultName() const = 0;  // trailing spaces kept
  virtual std::shared_ptr<ISample> Sample() const = 0;
  // Drops the result's hold on its sample's data; given an empty reference.
  virtual void ReleaseSample(std::shared_ptr<ISample>& sample) = 0;
};

class IStudyResult {
 public:
  virtual ~IStudyResult() = default;
  virtual std::shared_ptr<IResult> Result() const = 0;
  virtual bool Excluded() const = 0;
  virtual std::shared_ptr<IFragments> Fragments() const = 0;
};

// Each study result once, in the study's order.
class IStudyResults {
 public:
  virtual ~IStudyResults() = default;
  virtual std::int32_t Count() const = 0;
  virtual std::shared_ptr<IStudyResult> Item(std::int32_t index) const = 0;
};

class IStudy {
 public:
  virtual ~IStudy() = default;
  virtual std::string StudyName() const = 0;
  virtual std::shared_ptr<IStudyResults> Results() const = 0;
};

}  // namespace harvestor
