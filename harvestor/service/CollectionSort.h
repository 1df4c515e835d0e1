#pragma once
// A ready implementation of the host utility's collection sort for hosts to
// use: the same objects in a new collection, ordered by a named property's
// text without regard to case; equal texts keep their order.

#include <memory>
#include <string>

#include "harvestor/service/Collection.h"

namespace harvestor {

std::shared_ptr<CollectionBase> SortByProperty(const CollectionBase& collection,
                                               const std::string& propertyName, bool descending);

}  // namespace harvestor
