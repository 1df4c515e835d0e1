#include "workstation/store/StoredStudy.h"

#include <cstring>

#include "harvestor/service/HError.h"
#include "workstation/store/Database.h"

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

StoredSample::StoredSample(std::shared_ptr<Database> db, std::shared_ptr<const SampleFacts> facts)
    : db_(std::move(db)), facts_(std::move(facts)) {}

std::vector<float> StoredSample::Trace(std::int16_t dye) const {
  if (dye < 1 || dye > 4) harvestor::RaiseError(harvestor::ErrNo::SubscriptOutOfRange);
  if (!loaded_) {
    traces_.assign(4, {});
    Statement q(*db_, "SELECT dye, scans FROM traces WHERE sample_id = ?");
    q.bind(1, facts_->id);
    while (q.step()) {
      const auto d = q.integer(0);
      if (d >= 1 && d <= 4) traces_[static_cast<std::size_t>(d - 1)] = decodeScans(q.blob(1));
    }
    loaded_ = true;
  }
  return traces_[static_cast<std::size_t>(dye - 1)];
}

StoredResult::StoredResult(std::shared_ptr<Database> db, std::string name,
                           std::shared_ptr<const SampleFacts> facts)
    : db_(std::move(db)), name_(std::move(name)), facts_(std::move(facts)) {}

std::shared_ptr<harvestor::ISample> StoredResult::Sample() const {
  if (!sample_) sample_ = std::make_shared<StoredSample>(db_, facts_);
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
