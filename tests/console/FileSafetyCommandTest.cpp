// Real harvestor runs against files that must not be lost: a failed export
// names the file and the system's reason and leaves neither a partial file
// nor a temporary.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/console/SmallStudyCommandTest.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::testing::ReadFile;
using harvestor::testing::WriteFile;
using testing::Temporaries;

class FileSafetyCommandTest : public testing::SmallStudyCommandTest {
 protected:
  FileSafetyCommandTest() { host.WriteLocusList("D1\r\nD2\r\nD3\r\n"); }
};
using FullDeviceCommandTest = FileSafetyCommandTest;

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// A small filesystem filled to the last byte by "filler".
struct FullFilesystem {
  explicit FullFilesystem(std::string where) : folder(std::move(where)) {
    fs::create_directories(folder);
    mounted = ::mount("harvestor-test", folder.c_str(), "tmpfs", 0, "size=64k") == 0;
    std::ofstream filler(folder + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (mounted && filler.write(block.data(), block.size())) filler.flush();
  }
  ~FullFilesystem() {
    if (mounted) ::umount2(folder.c_str(), MNT_DETACH);
  }
  FullFilesystem(const FullFilesystem&) = delete;
  FullFilesystem& operator=(const FullFilesystem&) = delete;
  const std::string folder;
  bool mounted = false;
};

TEST_F(FileSafetyCommandTest, AnExportAimedAtItsOwnCompanionOrAFolderWritesNothing) {
  const struct {
    const char* format;
    const char* output;
    const char* named;  // the second path the message must name
  } cases[] = {
      {"pedin", "X.log", "X.log"}, {"pedin", "X.debug", "X.debug"}, {"dmp", "X.log", "X.log"},
      {"gsr", "X.log", "X.log"},   {"pedin", "Dir/", "Dir"},        {"csv", "Dir", "Dir"},
  };
  fs::create_directories(out + "/Dir");
  for (const auto& c : cases) {
    WriteFile(out + "/X.log", "previous log");
    WriteFile(out + "/X.debug", "previous debug");
    const std::string output = out + "/" + c.output;
    const auto run = Run({"export-study", db, "--format", c.format, "--output", output, "--yes"});
    SCOPED_TRACE(std::string(c.format) + " " + c.output);
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.err.find(out + "/" + c.named), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(out + "/X.log"), "previous log");
    EXPECT_EQ(ReadFile(out + "/X.debug"), "previous debug");
    EXPECT_TRUE(fs::is_empty(out + "/Dir"));
  }
}

TEST_F(FileSafetyCommandTest, AnExportStoppedBySigtermLeavesNoTemporaryFile) {
  // Opening a FIFO nobody reads blocks the run with the CRV files still temporary.
  ASSERT_EQ(::mkfifo((out + "/Plate_CRV_TRACE_ORDER.txt").c_str(), 0600), 0);
  const auto running = testing::StartHarvestor(
      {"export-results", db, "--format", "crv", "--output", out + "/Plate", "--result", "R1"},
      component);
  for (int i = 0; i < 500 && Temporaries(out) < 4; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(Temporaries(out), 4);
  ::kill(running.pid, SIGTERM);
  const auto run = testing::WaitHarvestor(running);
  EXPECT_EQ(run.exitStatus, 128 + SIGTERM) << run.err;
  EXPECT_EQ(Temporaries(out), 0);
  EXPECT_FALSE(fs::exists(out + "/Plate_D1.CRV"));  // no member of the set was put in place
}

TEST_F(FullDeviceCommandTest, AResultFileThatIsDevFullFailsWithTheReason) {
  fs::create_symlink("/dev/full", out + "/R3.txt");
  const auto run = Run({"export-results", db, "--format", "text", "--output",
                        out + "/{Result Name}", "--result", "R3", "--result", "R1", "--header"});
  EXPECT_EQ(run.exitStatus, 1);
  EXPECT_NE(run.err.find(out + "/R3.txt: No space left on device\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("some results were not exported"), std::string::npos);
  EXPECT_EQ(run.out.rfind("Results: 1 exported, 1 failed, 0 skipped\n", 0), 0u) << run.out;
  EXPECT_EQ(Entries(out), (std::vector<std::string>{"R1.txt", "R3.txt"}));
  EXPECT_TRUE(fs::is_symlink(out + "/R3.txt"));  // the device is written, never replaced
}

TEST_F(FullDeviceCommandTest, AFullFilesystemKeepsNoPartialOrTemporaryFile) {
  const FullFilesystem full(host.Path("Full"));
  if (!full.mounted) GTEST_SKIP() << "no small filesystem can be mounted here";
  const std::string each = full.folder + "/{Result Name}";
  const struct {
    std::vector<std::string> args;
    std::string failed;  // the file named on standard error
  } cases[] = {
      {{"export-results", "text", each, "--all", "--header", "--result-data"}, "R3.txt"},
      {{"export-results", "zal", each, "--all"}, "R3.zlu"},
      {{"export-results", "crv", full.folder + "/Plate", "--all"}, "Plate_D1.CRV"},
      {{"export-study", "pedin", full.folder + "/Study.pre"}, "Study.debug"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[0] + " " + c.args[1]);
    std::vector<std::string> args{c.args[0], db, "--format", c.args[1], "--output", c.args[2]};
    args.insert(args.end(), c.args.begin() + 3, c.args.end());
    const auto run = Run(args);
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.err.find(full.folder + "/" + c.failed + ": No space left on device\n"),
              std::string::npos)
        << run.err;
    EXPECT_EQ(Entries(full.folder), std::vector<std::string>{"filler"});
  }
}

}  // namespace
}  // namespace workstation
