#include "workstation/store/CurrentLociLoader.h"

#include "harvestor/service/HError.h"
#include "harvestor/service/Text.h"
#include "workstation/store/Database.h"
#include "workstation/store/StoredStudy.h"
#include "workstation/store/StudySource.h"

namespace workstation {

harvestor::CollectionPtr<std::shared_ptr<harvestor::IObject>> CurrentLociLoader::Query(
    const std::string& what, const std::string&, const std::string&, const std::string&,
    std::int32_t, bool) {
  if (what != "CurrentLoci") throw StoreError("the loader answers no query '" + what + "'");
  auto loci = harvestor::NewCollection<std::shared_ptr<harvestor::IObject>>();
  if (!study_ || !study_->source) return loci;
  for (std::string& name : study_->source->currentLoci()) {
    loci->Add(std::make_shared<NamedLocus>(std::move(name)));
  }
  return loci;
}

harvestor::Variant NamedLocus::GetProperty(std::string_view property) const {
  if (!harvestor::EqualsNoCase(property, "Name")) {
    harvestor::RaiseError(438, "Object doesn't support this property or method");
  }
  return harvestor::Variant::FromText(name_);
}

}  // namespace workstation
