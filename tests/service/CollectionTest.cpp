#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harvestor/service/Collection.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

std::vector<std::string> Items(const Collection<std::string>& c) {
  return std::vector<std::string>(c.begin(), c.end());
}

TEST(CollectionTest, OrderFollowsInsertionAndBadKeysRaiseTheirErrors) {
  Collection<std::string> c;
  c.Add("12", "12");
  c.Add("A", "A");
  c.Add("unkeyed");
  EXPECT_EQ(Items(c), (std::vector<std::string>{"12", "A", "unkeyed"}));
  EXPECT_EQ(testing::ErrorOf([&] { c.Add("again", "a"); }), ErrNo::DuplicateKey);
  EXPECT_EQ(testing::ErrorOf([&] { c.Item("missing"); }), ErrNo::InvalidProcedureCall);
  EXPECT_EQ(testing::ErrorOf([&] { c.Remove("missing"); }), ErrNo::InvalidProcedureCall);
}

// The genotype table moves a locus to the end every time it is touched;
// holes must be swept without losing keys or order.
TEST(CollectionTest, MovingAnItemToTheEndManyTimesKeepsLookupsRight) {
  Collection<std::string> c;
  std::vector<std::string> names;
  for (int i = 0; i < 40; ++i) names.push_back("L" + std::to_string(i));
  for (const std::string& name : names) c.Add(name, name);
  for (int round = 0; round < 1000; ++round) {
    const std::string key = "l" + std::to_string(round % 40);
    const std::string item = c.Item(key);
    c.Remove(key);
    c.Add(item, item);
  }
  EXPECT_EQ(Items(c), names);
  for (const std::string& name : names) EXPECT_EQ(c.Item(name), name);
}

TEST(CollectionTest, ReorderedKeepsKeysAndSharedCollectionsSeeEachOther) {
  auto shared = NewCollection<std::string>();
  auto alias = shared;
  shared->Add("x", "kx");
  shared->Add("y", "ky");
  EXPECT_EQ(alias->Count(), 2);
  auto reordered = std::dynamic_pointer_cast<Collection<std::string>>(shared->Reordered({1, 0}));
  ASSERT_TRUE(reordered);
  EXPECT_EQ(Items(*reordered), (std::vector<std::string>{"y", "x"}));
  EXPECT_TRUE(reordered->HasKey("KX"));
}

}  // namespace
}  // namespace harvestor
