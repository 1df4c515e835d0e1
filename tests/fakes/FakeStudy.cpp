#include "tests/fakes/FakeStudy.h"

namespace harvestor::testing {

FakePropertyList& FakePropertyList::Text(std::string name, std::string value) {
  entries.push_back({std::move(name), Variant::FromText(std::move(value))});
  return *this;
}

FakePropertyList& FakePropertyList::Number(std::string name, double value) {
  entries.push_back({std::move(name), Variant::FromNumber(value)});
  return *this;
}

std::vector<float> FakeSample::Trace(std::int16_t dye) const {
  return traces.at(static_cast<std::size_t>(dye - 1));
}

void FakeResult::ReleaseSample(std::shared_ptr<ISample>& s) {
  ++releases;
  s.reset();
}

FakeFragment& FakeStudyResult::Call(std::string locus, std::string allele) {
  FakeFragment fragment;
  fragment.locus = std::move(locus);
  fragment.alleleId = std::move(allele);
  fragments->items.push_back(std::move(fragment));
  return fragments->items.back();
}

FakeStudyResult& FakeStudy::AddResult(std::string resultName, std::string subjectID,
                                      bool excluded) {
  auto studyResult = std::make_shared<FakeStudyResult>();
  studyResult->result->name = std::move(resultName);
  studyResult->result->sample->subjectID = std::move(subjectID);
  studyResult->excluded = excluded;
  results->items.push_back(studyResult);
  return *studyResult;
}

}  // namespace harvestor::testing
