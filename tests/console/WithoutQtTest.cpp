// The console must build and run where Qt is not installed.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

TEST(WithoutQtTest, OnlyTheDesktopIncludesQt) {
  const fs::path root = HARVESTOR_SOURCE_DIR;
  std::string offenders;
  for (const char* folder : {"harvestor", "workstation", "tests", "bench"}) {
    for (const auto& entry : fs::recursive_directory_iterator(root / folder)) {
      const fs::path& path = entry.path();
      if (!entry.is_regular_file() || (path.extension() != ".h" && path.extension() != ".cpp"))
        continue;
      const std::string relative = fs::relative(path, root).generic_string();
      if (relative.rfind("workstation/desktop/", 0) == 0 ||
          relative.rfind("tests/desktop/", 0) == 0 || relative == "bench/desktop_log_bench.cpp")
        continue;
      std::ifstream in(path);
      for (std::string line; std::getline(in, line);) {
        if (line.rfind("#include <Q", 0) == 0 || line.rfind("#include <qt", 0) == 0)
          offenders += relative + ": " + line + "\n";
      }
    }
  }
  EXPECT_EQ(offenders, "");
}

TEST(WithoutQtTest, TheCommandLinksNoQtLibrary) {
  FILE* ldd = ::popen("ldd " HARVESTOR_COMMAND " 2>&1", "r");
  ASSERT_NE(ldd, nullptr);
  std::string libraries;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, ldd)) libraries += buffer;
  ASSERT_EQ(::pclose(ldd), 0) << libraries;
  EXPECT_NE(libraries.find("libsqlite3"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("libQt"), std::string::npos) << libraries;
}

}  // namespace
