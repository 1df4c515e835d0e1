// The lines of the export log kept in one buffer, read line by line and in
// windows of lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "harvestor/service/LineArena.h"

namespace harvestor {
namespace {

// Long enough that the buffer moves while the lines after it are added.
const std::string kLong(70000, 'x');

LineArena Filled(const std::vector<std::string>& lines) {
  LineArena arena;
  for (const std::string& line : lines) arena.Append(line);
  return arena;
}

std::vector<std::string> Read(const LineArena::Window& window) {
  return std::vector<std::string>(window.begin(), window.end());
}

const std::vector<std::string> kLines = {"a", "", "\tc for Subject: F1-03", kLong, "e", "\r"};

struct WindowCase {
  std::size_t first, count;
  std::size_t expectedFirst;
  std::vector<std::string> expected;
};

class LineArenaWindowTest : public ::testing::TestWithParam<WindowCase> {};

TEST_P(LineArenaWindowTest, AWindowHoldsItsLinesCutShortAtTheEnd) {
  const LineArena arena = Filled(kLines);
  const WindowCase& c = GetParam();
  const LineArena::Window window = arena.Lines(c.first, c.count);
  EXPECT_EQ(window.First(), c.expectedFirst);
  EXPECT_EQ(window.Count(), c.expected.size());
  EXPECT_EQ(Read(window), c.expected);
  for (std::size_t k = 0; k < window.Count(); ++k) EXPECT_EQ(window.Line(k), c.expected[k]);
}

INSTANTIATE_TEST_SUITE_P(
    Windows, LineArenaWindowTest,
    ::testing::Values(WindowCase{0, 0, 0, {}},         // nothing asked
                      WindowCase{0, 2, 0, {"a", ""}},  // the first lines
                      WindowCase{
                          2, 2, 2, {"\tc for Subject: F1-03", kLong}},  // up to the long line
                      WindowCase{3, 2, 3, {kLong, "e"}},                // from the long line
                      WindowCase{4, 2, 4, {"e", "\r"}},                 // the last lines
                      WindowCase{5, 9, 5, {"\r"}},                      // past the end, cut short
                      WindowCase{6, 1, 6, {}},                          // just past the last line
                      WindowCase{40, 3, 6, {}},                         // far past it
                      WindowCase{0, 99, 0, kLines}));                   // all of it

TEST(LineArenaTest, WindowsSideBySideReadEveryLineOnceWhereverTheirEdgesFall) {
  const LineArena arena = Filled(kLines);
  for (std::size_t size = 1; size <= kLines.size() + 1; ++size) {
    std::vector<std::string> read;
    for (std::size_t first = 0; first < arena.Count(); first += size) {
      for (const std::string& line : Read(arena.Lines(first, size))) read.push_back(line);
    }
    EXPECT_EQ(read, kLines) << "windows of " << size;
  }
}

TEST(LineArenaTest, AnEmptyArenaHasNoLinesAndEmptyWindows) {
  const LineArena arena;
  EXPECT_EQ(arena.Count(), 0u);
  EXPECT_EQ(arena.Line(0), "");
  EXPECT_TRUE(arena.Lines(0, 10).Empty());
  EXPECT_EQ(arena.begin(), arena.end());
}

TEST(LineArenaTest, LinesAcrossManyBlocksAndLongerThanABlockReadBackAndStayPut) {
  // Lines of varied lengths fill several one-megabyte blocks; two are longer
  // than a block. A view taken early must still read the same bytes at the end.
  std::vector<std::string> lines;
  for (int i = 0; i < 60000; ++i)
    lines.push_back(std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
  lines.insert(lines.begin() + 100, std::string((1 << 20) + 5, 'L'));
  lines.push_back(std::string(3 << 20, 'M'));
  lines.push_back("after");
  LineArena arena;
  arena.Append(lines[0]);
  arena.Append(lines[1]);
  const std::string_view early = arena.Line(1);
  for (std::size_t i = 2; i < lines.size(); ++i) arena.Append(lines[i]);
  ASSERT_EQ(arena.Count(), lines.size());
  EXPECT_EQ(early, lines[1]);
  EXPECT_EQ(std::vector<std::string>(arena.begin(), arena.end()), lines);
  // Walks that start inside a later block, and ones that cross into the long lines.
  for (std::size_t first : {std::size_t{101}, std::size_t{30000}, lines.size() - 5}) {
    const std::vector<std::string> expected(lines.begin() + static_cast<std::ptrdiff_t>(first),
                                            lines.end());
    EXPECT_EQ(Read(arena.Lines(first, lines.size())), expected) << first;
  }
  std::size_t bytes = 0;
  std::string file;  // the lines as a text file holds them
  for (const std::string& line : lines) {
    bytes += line.size();
    file.append(line).append("\r\n");
  }
  EXPECT_EQ(arena.Bytes(), bytes);
  std::string blocks;
  for (std::size_t b = 0; b < arena.BlockCount(); ++b) blocks.append(arena.BlockText(b));
  EXPECT_EQ(blocks, file);
}

TEST(LineArenaTest, BytesCountTheLinesWithoutTheirEnds) {
  const LineArena arena = Filled({"ab", "", "cde"});
  EXPECT_EQ(arena.Bytes(), 5u);
  ASSERT_EQ(arena.BlockCount(), 1u);
  EXPECT_EQ(arena.BlockText(0), "ab\r\n\r\ncde\r\n");
}

}  // namespace
}  // namespace harvestor
