#include "workstation/store/StoredStudy.h"

#include <cstring>

#include "harvestor/service/HError.h"
#include "workstation/store/StudySource.h"

namespace workstation {
namespace {

template <class Vector>
const auto& at(const Vector& items, std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= items.size()) {
    harvestor::RaiseError(harvestor::ErrNo::SubscriptOutOfRange);
  }
  return items[static_cast<std::size_t>(index)];
}

}  // namespace

const harvestor::IFragment& StoredFragments::Item(std::int32_t index) const {
  return at(items, index);
}

harvestor::PropertyEntry StoredPropertyList::Item(std::int32_t index) const {
  return at(entries, index);
}

std::shared_ptr<harvestor::IStudyResult> StoredStudyResults::Item(std::int32_t index) const {
  return at(items, index);
}

std::shared_ptr<StoredFragments> SampleFacts::loadFragments() const {
  return fragments ? fragments : source->fragments(sourceIndex);
}

std::shared_ptr<harvestor::IFragments> StoredStudyResult::Fragments() const {
  if (fragments) return fragments;
  return source->fragments(sourceIndex);
}

StoredSample::StoredSample(std::shared_ptr<StudySource> source,
                           std::shared_ptr<const SampleFacts> facts)
    : source_(std::move(source)), facts_(std::move(facts)) {}

std::vector<float> StoredSample::Trace(std::int16_t dye) const {
  if (dye < 1 || dye > 4) harvestor::RaiseError(harvestor::ErrNo::SubscriptOutOfRange);
  if (!loaded_) {
    auto traces = source_->traces(facts_->id);
    traces_.assign(std::make_move_iterator(traces.begin()), std::make_move_iterator(traces.end()));
    loaded_ = true;
  }
  return traces_[static_cast<std::size_t>(dye - 1)];
}

StoredResult::StoredResult(std::shared_ptr<StudySource> source, std::string name,
                           std::shared_ptr<const SampleFacts> facts)
    : source_(std::move(source)), name_(std::move(name)), facts_(std::move(facts)) {}

std::shared_ptr<harvestor::ISample> StoredResult::Sample() const {
  if (!sample_) sample_ = std::make_shared<StoredSample>(source_, facts_);
  return sample_;
}

void StoredResult::ReleaseSample(std::shared_ptr<harvestor::ISample>& sample) {
  sample_.reset();
  sample.reset();
}

std::string encodeScans(const std::vector<float>& scans) {
  std::string bytes(scans.size() * sizeof(float), '\0');
  if (!scans.empty()) std::memcpy(bytes.data(), scans.data(), bytes.size());
  return bytes;
}

std::vector<float> decodeScans(std::string_view bytes) {
  std::vector<float> scans(bytes.size() / sizeof(float));
  if (!scans.empty()) std::memcpy(scans.data(), bytes.data(), scans.size() * sizeof(float));
  return scans;
}

}  // namespace workstation
