// Keys and other case-insensitive comparisons fold Latin, Greek and Cyrillic
// letters, not only ASCII ones.
#include <gtest/gtest.h>

#include <string>

#include "harvestor/service/Collection.h"
#include "harvestor/service/HError.h"
#include "harvestor/service/Text.h"

namespace harvestor {
namespace {

struct Pair {
  const char* a;
  const char* b;
  bool same;
};

const Pair kPairs[] = {
    {"fam1", "FAM1", true},
    {"M\xC3\xBCller", "M\xC3\x9CLLER", true},  // Müller, MÜLLER
    {"\xC3\x89lodie", "\xC3\xA9LODIE", true},  // Élodie, éLODIE
    {"\xC5\x81\xC3\xB3"
     "d\xC5\xBA",
     "\xC5\x82\xC3\x93"
     "D\xC5\xB9",
     true},                          // Łódź, łÓDŹ
    {"\xC5\xB8", "\xC3\xBF", true},  // Ÿ, ÿ
    {"\xC7\x84", "\xC7\x86", true},  // Ǆ, ǆ
    {"\xCE\xA3\xCE\x9F\xCE\xA6\xCE\x8A\xCE\x91", "\xCF\x83\xCE\xBF\xCF\x86\xCE\xAF\xCE\xB1",
     true},                          // ΣΟΦΊΑ, σοφία
    {"\xCF\x82", "\xCE\xA3", true},  // final sigma, Sigma
    {"\xC2\xB5", "\xCE\x9C", true},  // micro sign, Mu
    {"\xD0\x9C\xD0\xBE\xD1\x81\xD0\xBA\xD0\xB2\xD0\xB0",
     "\xD0\xBC\xD0\x9E\xD0\xA1\xD0\x9A\xD0\x92\xD0\x90", true},  // Москва, мОСКВА
    {"\xD0\x81", "\xD1\x91", true},                              // Ё, ё
    {"\xD2\x90", "\xD2\x91", true},                              // Ґ, ґ
    {"M\xC3\xBCller", "Muller", false},
    {"\xC3\x9F", "SS", false},                // ß is no "ss"
    {"\xC4\xB0", "i", false},                 // İ has no one-letter fold
    {"\xC5\xBF", "s", false},                 // long s changes length
    {"\xE1\xB8\x80", "\xE1\xB8\x81", false},  // Ḁ ḁ: not covered
    {"\xC3", "\xE3", false},                  // malformed bytes as they are
    {"a\xC3", "A\xC3", true},
};

// Every case-insensitive comparison, collection keys and hashes included,
// folds the same letters.
TEST(CaseFoldTest, TextsKeysAndHashesAgreeWithoutRegardToCase) {
  for (const Pair& p : kPairs) {
    SCOPED_TRACE(std::string(p.a) + " / " + p.b);
    EXPECT_EQ(EqualsNoCase(p.a, p.b), p.same);
    EXPECT_EQ(EqualsNoCase(p.b, p.a), p.same);
    // An ASCII lead before the same pair changes nothing.
    EXPECT_EQ(EqualsNoCase(std::string("Id-") + p.a, std::string("iD-") + p.b), p.same);
    EXPECT_EQ(LowerCase(p.a) == LowerCase(p.b), p.same);
    EXPECT_EQ(LowerCase(p.a).size(), std::string(p.a).size());
    Collection<int> keyed;
    keyed.Add(1, p.a);
    EXPECT_EQ(keyed.HasKey(p.b), p.same);
    if (p.same) {
      EXPECT_FALSE(LessNoCase(p.a, p.b));
      EXPECT_FALSE(LessNoCase(p.b, p.a));
      EXPECT_EQ(HashNoCase(p.a), HashNoCase(p.b));
      EXPECT_EQ(HashNoCase(std::string("Id-") + p.a), HashNoCase(std::string("iD-") + p.b));
      EXPECT_EQ(keyed.Item(p.b), 1);
      EXPECT_THROW(keyed.Add(2, p.b), HError);  // the same key twice
      keyed.Remove(p.b);
      EXPECT_EQ(keyed.Count(), 0);
    } else {
      EXPECT_NE(LessNoCase(p.a, p.b), LessNoCase(p.b, p.a));
      keyed.Add(2, p.b);
      EXPECT_EQ(keyed.Count(), 2);
    }
  }
  EXPECT_NE(HashNoCase("L001"), HashNoCase("L002"));
}

// Sorted by folded text: émile before ÉMILIE, Zoë after ZOE, Аб before аВв,
// and a before B once folded, though B sorts first as bytes.
TEST(CaseFoldTest, OrderIgnoresCaseOfAccentedLetters) {
  for (const auto& [less, more] : std::initializer_list<std::pair<const char*, const char*>>{
           {"\xC3\xA9mile", "\xC3\x89MILIE"},
           {"S-\xC3\xA9mile", "s-\xC3\x89MILIE"},
           {"ZOE", "zo\xC3\xAB"},
           {"\xD0\x90\xD0\xB1", "\xD0\xB0\xD0\x92\xD0\xB2"},
           {"S1", "s10"},
           {"a_", "B"}}) {
    EXPECT_TRUE(LessNoCase(less, more)) << less;
    EXPECT_FALSE(LessNoCase(more, less)) << less;
  }
}

}  // namespace
}  // namespace harvestor
