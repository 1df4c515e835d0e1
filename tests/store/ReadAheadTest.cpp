// Reading ahead on another thread: the sink gets every result whole and in
// order though the slots are reused, and a failure on either side reaches
// the caller and stops the other side.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "workstation/store/ReadAhead.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

// Result i holds i % 5 fragments, each naming i: a slot reused for a
// shorter result must not keep the longer one's tail.
ResultSource numbered(int count, int failAfter = -1) {
  return [=](const ResultSink& add) {
    ImportedResult r;
    for (int i = 0; i < count; ++i) {
      if (i == failAfter) throw ImportError("table.tsv:" + std::to_string(i) + ": bad");
      r.name = "R" + std::to_string(i);
      r.fragments.assign(static_cast<std::size_t>(i % 5), StoredFragment());
      for (StoredFragment& f : r.fragments) f.locus = r.name;
      add(r);
    }
  };
}

TEST(ReadAheadTest, EveryResultArrivesWholeAndInOrder) {
  int seen = 0;
  readAhead(numbered(1000))([&](const ImportedResult& r) {
    ASSERT_EQ(r.name, "R" + std::to_string(seen));
    ASSERT_EQ(r.fragments.size(), static_cast<std::size_t>(seen % 5));
    for (const StoredFragment& f : r.fragments) ASSERT_EQ(f.locus, r.name);
    ++seen;
  });
  EXPECT_EQ(seen, 1000);
}

TEST(ReadAheadTest, TheSourcesErrorReachesTheCallerAfterWhatCameBefore) {
  int seen = 0;
  try {
    readAhead(numbered(1000, 300))([&](const ImportedResult&) { ++seen; });
    FAIL() << "no error";
  } catch (const ImportError& e) {
    EXPECT_STREQ(e.what(), "table.tsv:300: bad");
  }
  EXPECT_EQ(seen, 300);
}

TEST(ReadAheadTest, TheSinksErrorStopsTheSource) {
  int read = 0;
  const ResultSource endless = [&](const ResultSink& add) {
    ImportedResult r;
    for (;; ++read) add(r);
  };
  int seen = 0;
  EXPECT_THROW(readAhead(endless)([&](const ImportedResult&) {
                 if (++seen == 50) throw std::runtime_error("disk full");
               }),
               std::runtime_error);
  EXPECT_LE(read, 50 + static_cast<int>(kReadAheadResults) + 1);
}

}  // namespace
}  // namespace workstation
