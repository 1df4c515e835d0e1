// Real harvestor runs against files that must not be lost: an export aimed
// at its own companion or at a folder, and a run stopped mid-export. (A
// failed write's file and cause on standard error are FullDeviceCommandTest's.)
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "tests/console/SmallStudyCommandTest.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::testing::ReadFile;
using harvestor::testing::WriteFile;

int Temporaries(const std::string& folder) {
  int count = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().starts_with(".harvestor-")) ++count;
  }
  return count;
}

class FileSafetyCommandTest : public testing::SmallStudyCommandTest {
 protected:
  FileSafetyCommandTest() { host.WriteLocusList("D1\r\nD2\r\nD3\r\n"); }
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
    EXPECT_NE(run.exitStatus, 0) << c.format << " " << c.output;
    EXPECT_NE(run.err.find(out + "/" + c.named), std::string::npos) << run.err;
    EXPECT_EQ(ReadFile(out + "/X.log"), "previous log") << c.format << " " << c.output;
    EXPECT_EQ(ReadFile(out + "/X.debug"), "previous debug");
    EXPECT_TRUE(fs::is_empty(out + "/Dir")) << c.output;
  }
}

TEST_F(FileSafetyCommandTest, AnExportStoppedBySigtermLeavesNoTemporaryFile) {
  // The CRV set's last member is a FIFO nobody reads: opening it blocks the
  // run with the four trace files still temporary.
  ASSERT_EQ(::mkfifo((out + "/Plate_CRV_TRACE_ORDER.txt").c_str(), 0600), 0);
  const auto running = testing::StartHarvestor(
      {"export-results", db, "--format", "crv", "--output", out + "/Plate", "--result", "R1"},
      component);
  for (int i = 0; i < 500 && Temporaries(out) < 4; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  EXPECT_EQ(Temporaries(out), 4);
  ::kill(running.pid, SIGTERM);
  const auto run = testing::WaitHarvestor(running);
  EXPECT_EQ(run.exitStatus, 128 + SIGTERM) << run.err;
  EXPECT_EQ(Temporaries(out), 0);
  EXPECT_FALSE(fs::exists(out + "/Plate_D1.CRV"));  // no member of the set was put in place
}

}  // namespace
}  // namespace workstation
