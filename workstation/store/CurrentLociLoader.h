#pragma once
// The loader that answers the locus list editor's "CurrentLoci" query: the
// loci of the open study, read from its study database, each an object with
// a Name. Without an open study from a database the answer is empty.

#include <memory>
#include <string>

#include "harvestor/service/HostLibraries.h"

namespace workstation {

struct StoredStudy;

class CurrentLociLoader final : public harvestor::ILociLoader {
 public:
  explicit CurrentLociLoader(std::shared_ptr<StoredStudy> study) : study_(std::move(study)) {}
  // Throws StoreError for any query but "CurrentLoci".
  harvestor::CollectionPtr<std::shared_ptr<harvestor::IObject>> Query(const std::string& what,
                                                                      const std::string&,
                                                                      const std::string&,
                                                                      const std::string&,
                                                                      std::int32_t, bool) override;

 private:
  std::shared_ptr<StoredStudy> study_;
};

// One locus of a study, as the loader hands it out.
class NamedLocus final : public harvestor::IObject {
 public:
  explicit NamedLocus(std::string name) : name_(std::move(name)) {}
  harvestor::Variant GetProperty(std::string_view property) const override;

 private:
  std::string name_;
};

}  // namespace workstation
