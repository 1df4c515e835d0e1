// Exports that meet a full device: /dev/full behind a result file's name, and
// a filesystem with no space left. Each fails with the file and the system's
// reason on standard error and leaves neither a partial file nor a temporary.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tests/console/SmallStudyCommandTest.h"

namespace workstation {
namespace {

namespace fs = std::filesystem;
using harvestor::testing::ReadFile;

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

// A small filesystem of its own, filled to the last byte by a file named
// "filler"; unmounted when the test ends.
class FullFilesystem {
 public:
  explicit FullFilesystem(std::string folder) : folder_(std::move(folder)) {
    fs::create_directories(folder_);
    mounted_ = ::mount("harvestor-test", folder_.c_str(), "tmpfs", 0, "size=64k") == 0;
    if (!mounted_) return;
    std::ofstream filler(folder_ + "/filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (filler.write(block.data(), block.size())) filler.flush();
  }
  ~FullFilesystem() {
    if (mounted_) ::umount2(folder_.c_str(), MNT_DETACH);
  }
  FullFilesystem(const FullFilesystem&) = delete;
  FullFilesystem& operator=(const FullFilesystem&) = delete;
  bool mounted() const { return mounted_; }
  const std::string& folder() const { return folder_; }

 private:
  std::string folder_;
  bool mounted_ = false;
};

class FullDeviceCommandTest : public testing::SmallStudyCommandTest {
 protected:
  FullDeviceCommandTest() { host.WriteLocusList("D1\r\nD2\r\nD3\r\n"); }
};

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
  if (!full.mounted()) GTEST_SKIP() << "no small filesystem can be mounted here";
  const struct {
    std::vector<std::string> args;
    std::string failed;  // the file named on standard error
  } cases[] = {
      {{"export-results", db, "--format", "text", "--output", full.folder() + "/{Result Name}",
        "--all", "--header", "--result-data"},
       full.folder() + "/R3.txt"},
      {{"export-results", db, "--format", "zal", "--output", full.folder() + "/{Result Name}",
        "--all"},
       full.folder() + "/R3.zlu"},
      {{"export-results", db, "--format", "crv", "--output", full.folder() + "/Plate", "--all"},
       full.folder() + "/Plate_D1.CRV"},
      {{"export-study", db, "--format", "pedin", "--output", full.folder() + "/Study.pre"},
       full.folder() + "/Study.debug"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.args[2] + " " + c.args[3]);
    const auto run = Run(c.args);
    EXPECT_NE(run.exitStatus, 0);
    EXPECT_NE(run.err.find(c.failed + ": No space left on device\n"), std::string::npos) << run.err;
    EXPECT_EQ(Entries(full.folder()), std::vector<std::string>{"filler"});
  }
}

}  // namespace
}  // namespace workstation
