// The packed form of a result's fragments: what goes in comes out, and
// damaged bytes are refused rather than read.
#include <gtest/gtest.h>

#include "workstation/store/Database.h"
#include "workstation/store/FragmentPack.h"

namespace workstation {
namespace {

std::vector<harvestor::FragmentRecord> someFragments(int n) {
  std::vector<harvestor::FragmentRecord> fragments;
  for (int i = 0; i < n; ++i) {
    harvestor::FragmentRecord f;
    f.locus = "D" + std::to_string(i % 7) + "S1";
    f.alleleId = std::to_string(100 + i);
    f.comment = i % 3 ? "" : "Off-ladder";
    f.conditionCode = -i;
    f.excluded = i % 2;
    f.size = 100.125f + static_cast<float>(i);
    f.height = 1e30f;
    f.dye = static_cast<std::int16_t>(1 + i % 4);
    fragments.push_back(f);
  }
  return fragments;
}

TEST(FragmentPackTest, RoundTripsAndRefusesDamage) {
  const auto fragments = someFragments(40);
  std::string pack;
  encodeFragments(fragments, pack);
  std::vector<harvestor::FragmentRecord> back;
  decodeFragments(pack, back);
  ASSERT_EQ(back.size(), fragments.size());
  for (std::size_t i = 0; i < back.size(); ++i) {
    const auto &a = back[i], &b = fragments[i];
    EXPECT_TRUE(a.locus == b.locus && a.alleleId == b.alleleId && a.comment == b.comment &&
                a.conditionCode == b.conditionCode && a.excluded == b.excluded && a.dye == b.dye &&
                a.size == b.size && a.height == b.height && a.area == b.area &&
                a.divisor == b.divisor)
        << "fragment " << i;
  }
  for (const std::string& damaged :
       {pack.substr(0, pack.size() - 1), pack + "x", std::string("HRF1"), std::string(),
        std::string("\x48\x52\x46\x31\xff\xff\xff\x7f", 8)}) {
    EXPECT_THROW(decodeFragments(damaged, back), StoreError);
  }
}

}  // namespace
}  // namespace workstation
