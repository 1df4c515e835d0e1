// The one file writer: what it does with links, folders, devices, permission
// bits and every failure on the way, and that it never leaves a temporary.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "harvestor/service/FileSet.h"
#include "harvestor/service/TextFile.h"
#include "tests/fakes/FaultyFileSystem.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

namespace fs = std::filesystem;
using testing::FaultyFileSystem;
using testing::ReadFile;
using testing::TestHost;
using testing::WriteFile;

std::vector<std::string> Leftovers(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with(".harvestor-") || name.find(".part") != std::string::npos)
      names.push_back(name);
  }
  return names;
}

unsigned ModeOf(const std::string& path) {
  struct stat info {};
  EXPECT_EQ(::stat(path.c_str(), &info), 0);
  return info.st_mode & 07777;
}

TEST(TextFileWriterTest, APlantedLinkAtATemporaryNameRedirectsNothing) {
  TestHost host;
  const std::string victim = host.Path("victim");
  WriteFile(victim, "precious");
  // Where the writer used to put its temporary file, and where this one
  // asks for its first name: an attacker's link to the victim.
  fs::create_symlink(victim, host.Path("Out.txt.part" + std::to_string(::getpid())));
  FaultyFileSystem faulty;
  std::vector<std::string> asked;
  faulty.beforeCreate = [&](const std::string& name) {
    if (asked.empty()) fs::create_symlink(victim, name);
    asked.push_back(name);
  };
  TextFileWriter writer(host.Path("Out.txt"), faulty);
  writer.WriteLine("new");
  ASSERT_TRUE(writer.Commit()) << writer.Failure();
  EXPECT_EQ(ReadFile(victim), "precious");
  EXPECT_EQ(ReadFile(host.Path("Out.txt")), "new\r\n");
  ASSERT_EQ(asked.size(), 2u);  // the planted name was refused, a new one drawn
  EXPECT_NE(asked[0], asked[1]);
  EXPECT_TRUE(asked[1].starts_with(host.Path(".harvestor-"))) << asked[1];
}

TEST(TextFileWriterTest, ALinkToAFileReplacesTheFileItPointsTo) {
  TestHost host;
  fs::create_directories(host.Path("real"));
  WriteFile(host.Path("real/data.txt"), "old");
  fs::create_symlink("real/data.txt", host.Path("link.txt"));
  ASSERT_TRUE(WriteTextLines(host.Path("link.txt"), std::vector<std::string>{"new"}));
  EXPECT_TRUE(fs::is_symlink(host.Path("link.txt")));
  EXPECT_EQ(ReadFile(host.Path("real/data.txt")), "new\r\n");
  EXPECT_TRUE(Leftovers(host.Path("real")).empty());
}

TEST(TextFileWriterTest, AFolderIsRefusedWithItsReason) {
  TestHost host;
  fs::create_directories(host.Path("Folder"));
  for (const std::string& target : {host.Path("Folder"), host.Path("Folder/"), host.Path("New/")}) {
    std::string failure;
    EXPECT_FALSE(WriteTextLines(target, std::vector<std::string>{"x"}, &failure));
    EXPECT_EQ(failure, target + ": Is a directory");
  }
  EXPECT_TRUE(fs::is_empty(host.Path("Folder")));
  EXPECT_TRUE(Leftovers(host.root).empty());
}

TEST(TextFileWriterTest, DevicesAndFifosAreWrittenDirectly) {
  TestHost host;
  ASSERT_TRUE(WriteTextLines("/dev/null", std::vector<std::string>{"discarded"}));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  const std::string fifo = host.Path("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  std::string received;
  std::thread reader([&] { received = ReadFile(fifo); });
  EXPECT_TRUE(WriteTextLines(fifo, std::vector<std::string>{"through"}));
  reader.join();
  EXPECT_EQ(received, "through\r\n");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

// A file written keeps the permission bits of the file it replaces, or
// takes the umask's. An unnamed file taken as the start of the content is
// the file put in place, with those bits, or is copied where it cannot be
// taken; until the commit the previous file stays as it was.
TEST(TextFileWriterTest, TheFileWrittenHasTheBitsItReplacesWhetherTakenOrCopied) {
  using Call = FaultyFileSystem::Call;
  const struct {
    const char* name;
    unsigned previous;  // the replaced file's bits, or 0 where there is none
    bool takeOver;      // the content starts in an unnamed file
    Call failing;
    bool taken;
  } cases[] = {
      {"new", 0, false, Call::None, false},
      {"replacing 0640", 0640u, false, Call::None, false},
      {"replacing 0755", 0755u, false, Call::None, false},
      {"new, taken", 0, true, Call::None, true},
      {"replacing, taken", 0640u, true, Call::None, true},
      {"unlinkable", 0640u, true, Call::LinkUnnamed, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TestHost host;
    const std::string path = host.Path("Out.log");
    if (c.previous != 0) {
      WriteFile(path, "previous");
      ::chmod(path.c_str(), c.previous);
    }
    FaultyFileSystem faulty;
    faulty.failing = c.failing;
    const mode_t mask = ::umask(022);
    const std::string head(3 << 20, 'h');
    int fd = -1;
    if (c.takeOver) {
      ASSERT_EQ(faulty.CreateUnnamed(host.root, fd), 0);
      ASSERT_EQ(faulty.Write(fd, head.data(), head.size()), 0);
    }
    {
      TextFileWriter writer(path, faulty);
      const bool taken = c.takeOver && writer.TakeOver(fd, static_cast<std::int64_t>(head.size()));
      EXPECT_EQ(taken, c.taken);
      if (!taken) writer.Write(head);
      writer.WriteLine("tail");
      EXPECT_EQ(ReadFile(path), c.previous != 0 ? "previous" : "");
      ASSERT_TRUE(writer.Commit());
    }
    ::umask(mask);
    EXPECT_EQ(ReadFile(path), head + "tail\r\n");
    EXPECT_EQ(ModeOf(path), c.previous != 0 ? c.previous : 0644u);
    EXPECT_TRUE(Leftovers(host.root).empty());
    if (c.takeOver) {
      struct stat unnamed {
      }, written{};
      ASSERT_EQ(::fstat(fd, &unnamed), 0);
      ASSERT_EQ(::stat(path.c_str(), &written), 0);
      EXPECT_EQ(unnamed.st_ino == written.st_ino, c.taken);
      ::close(fd);
    }
  }
}

TEST(TextFileWriterTest, EveryFailureKeepsThePreviousFileAndSaysWhy) {
  using Call = FaultyFileSystem::Call;
  const struct {
    Call call;
    int error;
    const char* reason;
  } cases[] = {
      {Call::CreateNew, ENOSPC, "No space left on device"},
      {Call::Write, ENOSPC, "No space left on device"},
      {Call::Sync, EIO, "Input/output error"},
      {Call::ChangeMode, EPERM, "Operation not permitted"},
      {Call::Close, EDQUOT, "Disk quota exceeded"},
      {Call::Rename, EXDEV, "Invalid cross-device link"},
  };
  for (const auto& c : cases) {
    TestHost host;
    const std::string path = host.Path("Out.txt");
    WriteFile(path, "previous");
    FaultyFileSystem faulty;
    faulty.failing = c.call;
    faulty.error = c.error;
    TextFileWriter writer(path, faulty);
    writer.Write(std::string(3 << 20, 'x'));  // past the buffer: really written
    EXPECT_FALSE(writer.Commit());
    EXPECT_EQ(writer.Failure(), path + ": " + c.reason);
    EXPECT_EQ(ReadFile(path), "previous");
    EXPECT_TRUE(Leftovers(host.root).empty()) << c.reason;
  }
}

TEST(TextFileWriterTest, ALongFileIsSentToDiskAndLetGoInStepsAsItIsWritten) {
  TestHost host;
  FaultyFileSystem files;
  TextFileWriter writer(host.Path("Long.txt"), files);
  const std::string line(999, 'x');
  constexpr std::int64_t kSize = 20000 * 1001;  // 20 MB
  for (int i = 0; i < 20000; ++i) writer.WriteLine(line);
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(ReadFile(host.Path("Long.txt")).size(), static_cast<std::size_t>(kSize));
  // Each list of ranges runs on from 0 without a gap or an overlap: sent
  // to disk in steps of 8 MiB or more, and let go a step behind, the rest
  // once the file is synced.
  const auto contiguous = [](const std::vector<FaultyFileSystem::Range>& ranges) {
    std::int64_t next = 0;
    for (const FaultyFileSystem::Range& range : ranges) {
      EXPECT_EQ(range.file, 0);
      EXPECT_EQ(range.offset, next);
      next = range.offset + range.size;
    }
    return next;
  };
  ASSERT_GE(files.writebacks.size(), 2u);
  for (const auto& range : files.writebacks) EXPECT_GE(range.size, 8 << 20);
  EXPECT_LE(contiguous(files.writebacks), kSize);
  ASSERT_GE(files.releases.size(), 2u);
  EXPECT_EQ(contiguous(files.releases), kSize);

  FaultyFileSystem direct;  // nothing of a device is on a disk of ours
  TextFileWriter device("/dev/null", direct);
  for (int i = 0; i < 20000; ++i) device.WriteLine(line);
  ASSERT_TRUE(device.Commit());
  EXPECT_TRUE(direct.writebacks.empty() && direct.releases.empty());
}

TEST(FileSetTest, AFailureAtAnyMemberReplacesNone) {
  for (int failing = 0; failing < 3; ++failing) {
    TestHost host;
    const std::vector<std::string> names{host.Path("a"), host.Path("b"), host.Path("c")};
    for (const auto& name : names) WriteFile(name, "old");
    FaultyFileSystem faulty;
    faulty.failing = FaultyFileSystem::Call::Sync;
    faulty.failingFile = failing;
    FileSet set(faulty);
    for (const auto& name : names) set.Add(name).WriteLine("new");
    EXPECT_FALSE(set.Commit());
    EXPECT_EQ(set.Failure(),
              names[static_cast<std::size_t>(failing)] + ": No space left on device");
    for (const auto& name : names) EXPECT_EQ(ReadFile(name), "old") << name;
    EXPECT_TRUE(Leftovers(host.root).empty());
  }
}

}  // namespace
}  // namespace harvestor
