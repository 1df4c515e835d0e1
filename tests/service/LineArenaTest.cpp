// The lines of the export log kept in one buffer, read line by line and in
// windows of lines.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>
#include <vector>

#include "harvestor/service/LineArena.h"
#include "harvestor/service/TextFile.h"
#include "tests/fakes/FaultyFileSystem.h"
#include "tests/fakes/TestHost.h"

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
  const LineArena empty;
  EXPECT_EQ(empty.Line(0), "");
  EXPECT_TRUE(empty.Lines(0, 10).Empty());
  EXPECT_EQ(empty.begin(), empty.end());
}

// Lines of varied lengths that fill several one-megabyte blocks; two are
// longer than a block.
std::vector<std::string> ManyBlocksOfLines() {
  std::vector<std::string> lines;
  for (int i = 0; i < 60000; ++i)
    lines.push_back(std::string(static_cast<std::size_t>(i % 97), static_cast<char>('a' + i % 26)));
  lines.insert(lines.begin() + 100, std::string((1 << 20) + 5, 'L'));
  lines.push_back(std::string(3 << 20, 'M'));
  lines.push_back("after");
  return lines;
}

std::vector<std::string> EachLine(const LineArena& arena) {
  std::vector<std::string> lines;
  arena.ForEachLine([&](std::string_view line) { lines.emplace_back(line); });
  return lines;
}

struct SpoolCase {
  const char* name;
  testing::FaultyFileSystem::Call failing;
  const char* spoolFolder;  // the test's folder, a folder in it, or a path from /
  bool spools;              // every block but the one being filled, or none
  bool takenOver;           // the file written is the spool itself
};

// Filled blocks go to an unnamed file unless it cannot be made or written,
// and then stay in memory from there on.
class LineArenaSpoolTest : public ::testing::TestWithParam<SpoolCase> {};

TEST_P(LineArenaSpoolTest, EveryLineReadsBackAndWritesOutWhereverItsBlockIsKept) {
  const SpoolCase& c = GetParam();
  const testing::TestHost host;
  testing::FaultyFileSystem fs;
  fs.failing = c.failing;
  const std::vector<std::string> lines = ManyBlocksOfLines();
  LineArena arena(fs, *c.spoolFolder == '/'    ? std::string(c.spoolFolder)
                      : *c.spoolFolder == '\0' ? host.root
                                               : host.Path(c.spoolFolder));
  for (const std::string& line : lines) arena.Append(line);
  const std::string_view kept = arena.Line(lines.size() - 3);  // after the last Append
  ASSERT_EQ(arena.Count(), lines.size());
  ASSERT_GT(arena.BlockCount(), 5u);
  std::size_t spooled = 0;
  for (std::size_t b = 0; b < arena.BlockCount(); ++b) spooled += arena.Spooled(b) ? 1 : 0;
  EXPECT_EQ(spooled, c.spools ? arena.BlockCount() - 1 : 0);
  EXPECT_FALSE(arena.Spooled(arena.BlockCount() - 1));  // the block being filled
  EXPECT_EQ(std::vector<std::string>(arena.begin(), arena.end()), lines);
  EXPECT_EQ(EachLine(arena), lines);
  EXPECT_EQ(kept, lines[lines.size() - 3]);  // a walk let go of its block; the view reads on
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
  std::size_t blocks = 0;
  std::int64_t spoolBytes = 0;
  struct stat spool {
  }, written{};
  const int spoolFd = arena.SpoolFile(blocks, spoolBytes);
  if (spoolFd >= 0) {
    ASSERT_EQ(::fstat(spoolFd, &spool), 0);
  }
  const std::string log = host.Path("log.txt");
  ASSERT_TRUE(WriteTextLines(log, arena));
  EXPECT_EQ(ReadWholeFile(log), file);
  ASSERT_EQ(::stat(log.c_str(), &written), 0);
  EXPECT_EQ(spoolFd >= 0 && spool.st_ino == written.st_ino, c.takenOver);
  // Lines added after the file was written go to a spool of their own: the
  // file stays as written, and every line still reads back.
  const std::string more(3 << 20, 'N');
  arena.Append(more);
  arena.Append("last");
  EXPECT_EQ(ReadWholeFile(log), file);
  EXPECT_EQ(arena.Line(lines.size()), more);
  EXPECT_EQ(arena.Line(3), lines[3]);
  ASSERT_TRUE(WriteTextLines(host.Path("again.txt"), arena));
  EXPECT_EQ(ReadWholeFile(host.Path("again.txt")), file + more + "\r\nlast\r\n");
  std::vector<std::string> all = lines;  // from the sealed spool, a new one and memory
  all.insert(all.end(), {more, "last"});
  EXPECT_EQ(EachLine(arena), all);
  // A moved arena reads the same lines from the same blocks.
  const LineArena moved = std::move(arena);
  EXPECT_EQ(moved.Line(lines.size() + 1), "last");
  EXPECT_EQ(moved.Line(5), lines[5]);
}

INSTANTIATE_TEST_SUITE_P(
    Spool, LineArenaSpoolTest,
    ::testing::Values(
        SpoolCase{"Spooled", testing::FaultyFileSystem::Call::None, "", true, true},
        // The system's shared memory is a file system of its own: the spool
        // cannot be linked into the test's folder and is copied.
        SpoolCase{"OnAnotherFileSystem", testing::FaultyFileSystem::Call::None, "/dev/shm", true,
                  false},
        SpoolCase{"CannotBeMade", testing::FaultyFileSystem::Call::CreateUnnamed, "", false, false},
        SpoolCase{"FolderMissing", testing::FaultyFileSystem::Call::None, "missing", false, false},
        SpoolCase{"DiskFull", testing::FaultyFileSystem::Call::Write, "", false, false}),
    [](const auto& param) { return std::string(param.param.name); });

}  // namespace
}  // namespace harvestor
