#pragma once
// A study loaded from the study database: the objects the component reads.
// Results and records are loaded in one pass when the study is opened;
// fragments are read, a window of results at a time, when a result is asked
// for them, and trace data when a sample is first asked for it (dropped
// again by ReleaseSample), through the study's source in its store. So an
// export that goes through the study in order holds what it works on, not
// every fragment of the study.

#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/FragmentRecord.h"
#include "harvestor/service/StudyObjects.h"

namespace workstation {

class StudySource;

using StoredFragment = harvestor::FragmentRecord;

struct StoredFragments final : harvestor::IFragments {
  std::vector<StoredFragment> items;
  std::int32_t Count() const override { return static_cast<std::int32_t>(items.size()); }
  const harvestor::IFragment& Item(std::int32_t index) const override;
};

struct StoredPropertyList final : harvestor::IPropertyList {
  std::vector<harvestor::PropertyEntry> entries;
  std::int32_t Count() const override { return static_cast<std::int32_t>(entries.size()); }
  harvestor::PropertyEntry Item(std::int32_t index) const override;
};

struct StoredRecord final : harvestor::ISubjectRecord {
  std::shared_ptr<StoredPropertyList> properties = std::make_shared<StoredPropertyList>();
  double areaScale = 1;
  std::shared_ptr<harvestor::IPropertyList> Properties() const override { return properties; }
  double AreaScale() const override { return areaScale; }
};

// What a sample is apart from its traces, loaded with the study, with the
// result it was analysed into (its name and fragments), which the result file
// exporter and the trace writer carry.
struct SampleFacts {
  std::int64_t id = 0;
  std::string subjectId;
  std::int32_t analysisRevision = 2;
  std::shared_ptr<StoredRecord> record = std::make_shared<StoredRecord>();
  std::string resultName;
  // The result's fragments when they are held here (a study made in memory);
  // null when a store reads them from the study's source at sourceIndex.
  std::shared_ptr<StoredFragments> fragments = std::make_shared<StoredFragments>();
  std::shared_ptr<StudySource> source;
  std::size_t sourceIndex = 0;
  std::shared_ptr<StoredFragments> loadFragments() const;
};

class StoredSample final : public harvestor::ISample {
 public:
  StoredSample(std::shared_ptr<StudySource> source, std::shared_ptr<const SampleFacts> facts);
  std::string SubjectID() const override { return facts_->subjectId; }
  std::int32_t AnalysisRevision() const override { return facts_->analysisRevision; }
  std::shared_ptr<harvestor::ISubjectRecord> SubjectRecord() const override {
    return facts_->record;
  }
  std::vector<float> Trace(std::int16_t dye) const override;
  const SampleFacts& facts() const { return *facts_; }

 private:
  std::shared_ptr<StudySource> source_;
  std::shared_ptr<const SampleFacts> facts_;
  mutable std::vector<std::vector<float>> traces_;
  mutable bool loaded_ = false;
};

class StoredResult final : public harvestor::IResult {
 public:
  StoredResult(std::shared_ptr<StudySource> source, std::string name,
               std::shared_ptr<const SampleFacts> facts);
  std::string ResultName() const override { return name_; }
  std::shared_ptr<harvestor::ISample> Sample() const override;
  void ReleaseSample(std::shared_ptr<harvestor::ISample>& sample) override;
  // Whether the result currently holds its sample's data (for tests).
  bool holdsSample() const { return sample_ != nullptr; }

 private:
  std::shared_ptr<StudySource> source_;
  std::string name_;
  std::shared_ptr<const SampleFacts> facts_;
  mutable std::shared_ptr<StoredSample> sample_;
};

struct StoredStudyResult final : harvestor::IStudyResult {
  std::shared_ptr<StoredResult> result;
  bool excluded = false;
  // Held here, or (when null) read from the source at sourceIndex when asked for.
  std::shared_ptr<StoredFragments> fragments = std::make_shared<StoredFragments>();
  std::shared_ptr<StudySource> source;
  std::size_t sourceIndex = 0;
  std::shared_ptr<harvestor::IResult> Result() const override { return result; }
  bool Excluded() const override { return excluded; }
  std::shared_ptr<harvestor::IFragments> Fragments() const override;
};

struct StoredStudyResults final : harvestor::IStudyResults {
  std::vector<std::shared_ptr<StoredStudyResult>> items;
  std::int32_t Count() const override { return static_cast<std::int32_t>(items.size()); }
  std::shared_ptr<harvestor::IStudyResult> Item(std::int32_t index) const override;
};

struct StoredStudy final : harvestor::IStudy {
  std::string name;
  std::shared_ptr<StudySource> source;  // the store it was loaded from
  std::shared_ptr<StoredStudyResults> results = std::make_shared<StoredStudyResults>();
  std::string StudyName() const override { return name; }
  std::shared_ptr<harvestor::IStudyResults> Results() const override { return results; }
};

// Trace scans as they are stored: little-endian 32-bit floats.
std::string encodeScans(const std::vector<float>& scans);
std::vector<float> decodeScans(std::string_view bytes);

}  // namespace workstation
