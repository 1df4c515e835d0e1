// Path parts, shortened paths and the export folders.
#include <gtest/gtest.h>

#include <filesystem>

#include "harvestor/resultexport/ExportParameters.h"
#include "harvestor/resultexport/FileName.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/HostObjects.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

struct Parts {
  std::string full, name, drive, ext, path, sans, pathSans;
  bool operator==(const Parts&) const = default;
};

Parts Split(const std::string& text) {
  FileName f;
  f.Initialize(text);
  return {f.FullPathAndFileName(),
          f.FileName_(),
          f.DriveName(),
          f.ExtensionName(),
          f.PathName(),
          f.FileNameSansExtension(),
          f.PathAndFileNameSansExtension()};
}

TEST(PathsTest, FileNameSplitsWindowsAndLinuxPaths) {
  EXPECT_EQ(Split("C:\\Run1.txt").path, "C:");
  EXPECT_EQ(Split("C:\\Export\\Run.A01_0312151430.zlu"),
            (Parts{"C:\\Export\\Run.A01_0312151430.zlu", "Run.A01_0312151430.zlu", "C:", "zlu",
                   "C:\\Export", "Run.A01_0312151430", "C:\\Export\\Run.A01_0312151430"}));
  EXPECT_EQ(Split("/data/Export/Run1.pre"), (Parts{"/data/Export/Run1.pre", "Run1.pre", "", "pre",
                                                   "/data/Export", "Run1", "/data/Export/Run1"}));
  // A name typed without an extension is kept whole.
  EXPECT_EQ(Split("/data/Export/Run1").pathSans, "/data/Export/Run1");
  EXPECT_EQ(Split(""), Parts{});
}

// Past 50 characters (not bytes) a path is cut to its first 20 and last 25.
TEST(PathsTest, ShortenLongPathsCutsOnlyPast50Characters) {
  const auto e = [](int n) {  // n characters of two bytes each
    std::string text;
    while (n-- > 0) text += "\xC3\xA9";
    return text;
  };
  const struct {
    std::string path;
    std::string shown;
  } cases[] = {
      {std::string(50, 'x'), std::string(50, 'x')},
      {"abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJKLMNO",
       "abcdefghijklmnopqrst ... 0123456789ABCDEFGHIJKLMNO"},
      {e(50), e(50)},
      {"/" + e(50), "/" + e(19) + " ... " + e(25)},
      // A cut next to a three-byte character keeps it whole.
      {std::string(19, 'a') + "\xE2\x82\xAC" + std::string(31, 'b'),
       std::string(19, 'a') + "\xE2\x82\xAC ... " + std::string(25, 'b')},
      {std::string(30, 'a') + "\xE2\x82\xAC" + std::string(24, 'b'),
       std::string(20, 'a') + " ... \xE2\x82\xAC" + std::string(24, 'b')},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    EXPECT_EQ(ResultExportRoutines::ShortenLongPaths(c.path), c.shown);
  }
}

TEST(PathsTest, ExportFoldersFollowTheComponentAndTheLastChoice) {
  testing::TestHost host;
  EXPECT_EQ(ResultExportRoutines::FindExportPath(), host.exportFolder);
  std::filesystem::remove_all(host.exportFolder);
  EXPECT_EQ(ResultExportRoutines::FindExportPath(), "");  // the drive name alone: none here
  HostObjects::SetEnvironment({nullptr, "C:\\Prog\\Bin", "."});
  EXPECT_EQ(ResultExportRoutines::FindExportPath(), "C:");
  HostObjects::SetEnvironment({nullptr, host.root + "/App/bin", "."});
  std::filesystem::create_directories(host.exportFolder);

  const std::string runs = host.Path("Runs");
  std::filesystem::create_directories(runs);
  ResultExportRoutines::SetLastExportFolder(runs + "/Plate1.txt");
  EXPECT_EQ(ResultExportRoutines::GetLastExportFolder(), runs);
  std::filesystem::remove_all(runs);
  EXPECT_EQ(ResultExportRoutines::GetLastExportFolder(), host.exportFolder);
}

}  // namespace
}  // namespace harvestor
