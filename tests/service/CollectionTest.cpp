#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harvestor/service/Collection.h"

namespace harvestor {
namespace {

std::vector<std::string> Items(const Collection<std::string>& c) {
  return std::vector<std::string>(c.begin(), c.end());
}

TEST(CollectionTest, KeysIgnoreCaseAndOrderFollowsInsertion) {
  Collection<std::string> c;
  c.Add("12", "12");
  c.Add("A", "A");
  c.Add("unkeyed");
  EXPECT_TRUE(c.HasKey("a"));
  EXPECT_EQ(c.Item("a"), "A");
  EXPECT_EQ(Items(c), (std::vector<std::string>{"12", "A", "unkeyed"}));
  try {
    c.Add("again", "a");
    FAIL() << "a duplicate key must raise";
  } catch (const HError& e) {
    EXPECT_EQ(e.Number, ErrNo::DuplicateKey);
  }
  try {
    c.Item("missing");
    FAIL() << "a missing key must raise";
  } catch (const HError& e) {
    EXPECT_EQ(e.Number, ErrNo::InvalidProcedureCall);
  }
}

TEST(CollectionTest, MovingAnItemToTheEndManyTimesKeepsLookupsRight) {
  // The genotype table moves a locus to the end every time it is touched;
  // holes must be swept without losing keys or order.
  Collection<std::string> c;
  for (int i = 0; i < 40; ++i) c.Add("L" + std::to_string(i), "L" + std::to_string(i));
  for (int round = 0; round < 1000; ++round) {
    const std::string key = "l" + std::to_string(round % 40);
    const std::string item = c.Item(key);
    c.Remove(key);
    c.Add(item, item);
  }
  EXPECT_EQ(c.Count(), 40);
  std::vector<std::string> expected;
  for (int i = 0; i < 40; ++i) expected.push_back("L" + std::to_string(i));
  EXPECT_EQ(Items(c), expected);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(c.Item("L" + std::to_string(i)), "L" + std::to_string(i));
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
