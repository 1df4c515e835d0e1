#include "harvestor/service/CollectionSort.h"

#include <algorithm>
#include <numeric>

namespace harvestor {

std::shared_ptr<CollectionBase> SortByProperty(const CollectionBase& collection,
                                               const std::string& propertyName, bool descending) {
  const std::vector<const IObject*> objects = collection.Objects();
  std::vector<std::string> keys;
  keys.reserve(objects.size());
  for (const IObject* o : objects) keys.push_back(o ? o->GetProperty(propertyName).ToText() : "");
  std::vector<std::size_t> order(objects.size());
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
    return descending ? LessNoCase(keys[b], keys[a]) : LessNoCase(keys[a], keys[b]);
  });
  return collection.Reordered(order);
}

}  // namespace harvestor
