#pragma once
// An in-memory study for unit tests and benchmarks: results with samples,
// subject property lists and fragments, built up by a few calls.

#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/FragmentRecord.h"
#include "harvestor/service/StudyObjects.h"

namespace harvestor::testing {

using FakeFragment = FragmentRecord;

struct FakeFragments : IFragments {
  std::vector<FakeFragment> items;
  std::int32_t Count() const override { return static_cast<std::int32_t>(items.size()); }
  const IFragment& Item(std::int32_t i) const override {
    return items.at(static_cast<std::size_t>(i));
  }
};

struct FakePropertyList : IPropertyList {
  std::vector<PropertyEntry> entries;
  std::int32_t Count() const override { return static_cast<std::int32_t>(entries.size()); }
  PropertyEntry Item(std::int32_t i) const override {
    return entries.at(static_cast<std::size_t>(i));
  }
  FakePropertyList& Text(std::string name, std::string value);
  FakePropertyList& Number(std::string name, double value);
};

struct FakeSubjectRecord : ISubjectRecord {
  std::shared_ptr<FakePropertyList> properties = std::make_shared<FakePropertyList>();
  double areaScale = 1;
  std::shared_ptr<IPropertyList> Properties() const override { return properties; }
  double AreaScale() const override { return areaScale; }
};

struct FakeSample : ISample {
  std::string subjectID;
  std::int32_t analysisRevision = 2;
  std::shared_ptr<FakeSubjectRecord> record = std::make_shared<FakeSubjectRecord>();
  std::vector<std::vector<float>> traces = std::vector<std::vector<float>>(4);
  std::string SubjectID() const override { return subjectID; }
  std::int32_t AnalysisRevision() const override { return analysisRevision; }
  std::shared_ptr<ISubjectRecord> SubjectRecord() const override { return record; }
  std::vector<float> Trace(std::int16_t dye) const override;
};

struct FakeResult : IResult {
  std::string name;
  std::shared_ptr<FakeSample> sample = std::make_shared<FakeSample>();
  int releases = 0;
  std::string ResultName() const override { return name; }
  std::shared_ptr<ISample> Sample() const override { return sample; }
  void ReleaseSample(std::shared_ptr<ISample>& s) override;
};

struct FakeStudyResult : IStudyResult {
  std::shared_ptr<FakeResult> result = std::make_shared<FakeResult>();
  bool excluded = false;
  std::shared_ptr<FakeFragments> fragments = std::make_shared<FakeFragments>();
  std::shared_ptr<IResult> Result() const override { return result; }
  bool Excluded() const override { return excluded; }
  std::shared_ptr<IFragments> Fragments() const override { return fragments; }

  // Adds one called fragment; returns it for further settings.
  FakeFragment& Call(std::string locus, std::string allele);
  FakePropertyList& Properties() { return *result->sample->record->properties; }
};

struct FakeStudyResults : IStudyResults {
  std::vector<std::shared_ptr<FakeStudyResult>> items;
  std::int32_t Count() const override { return static_cast<std::int32_t>(items.size()); }
  std::shared_ptr<IStudyResult> Item(std::int32_t i) const override {
    return items.at(static_cast<std::size_t>(i));
  }
};

struct FakeStudy : IStudy {
  std::string name = "Study";
  std::shared_ptr<FakeStudyResults> results = std::make_shared<FakeStudyResults>();
  std::string StudyName() const override { return name; }
  std::shared_ptr<IStudyResults> Results() const override { return results; }

  FakeStudyResult& AddResult(std::string resultName, std::string subjectID, bool excluded = false);
};

}  // namespace harvestor::testing
