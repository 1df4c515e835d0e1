// Every format of a generated study, byte for byte against tests/data/streamed
// (folders and times masked). HARVESTOR_WRITE_EXPECTED=FOLDER writes them anew.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <regex>

#include "harvestor/service/Text.h"
#include "tests/console/Process.h"
#include "tests/fakes/TestHost.h"
#include "tests/store/GeneratedStudy.h"

namespace workstation {
namespace {

using harvestor::testing::ReadFile;
using testing::FirstDifference;
using testing::RunHarvestor;

std::string Normalised(const std::string& text, const std::string& root) {
  static const std::regex stamp("(Created|Processing started): [^\r\n]*");
  return std::regex_replace(harvestor::ReplaceAll(text, root, "{ROOT}"), stamp, "$1: {TIME}");
}

std::string ReadGz(const std::string& path) {
  gzFile in = gzopen(path.c_str(), "rb");
  if (in == nullptr) return "(missing " + path + ")";
  std::string text;
  char buffer[65536];
  for (int n; (n = gzread(in, buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(n));
  gzclose(in);
  return text;
}

void WriteGz(const std::string& path, const std::string& text) {
  gzFile out = gzopen(path.c_str(), "wb9");
  ASSERT_NE(out, nullptr) << path;
  ASSERT_EQ(gzwrite(out, text.data(), static_cast<unsigned>(text.size())),
            static_cast<int>(text.size()));
  gzclose(out);
}

TEST(StreamedExportTest, EveryFormatOfAGeneratedStudyMatchesTheKeptFiles) {
  harvestor::testing::TestHost host;
  const std::string db = host.Path("study.db"), out = host.Path("Out");
  std::filesystem::create_directories(out);
  const StudyTableFiles tables = testing::WriteGeneratedStudy(2000, host.root);
  const auto imported =
      RunHarvestor({"import", db, "--name", "Generated", "--fragments", tables.fragments,
                    "--results", tables.results, "--subjects", tables.subjects});
  ASSERT_EQ(imported.exitStatus, 0) << imported.err;
  host.WriteLocusList(testing::GeneratedLocusList());

  const struct {
    const char* format;
    const char* file;
    std::vector<std::string> written;
  } exports[] = {{"pedin", "Study.pre", {"Study.pre", "Study.debug"}},
                 {"dmp", "Study.txt", {"Study.txt"}},
                 {"gsr", "Study.gsr", {"Study.gsr"}},
                 {"csv", "Study.csv", {"Study.csv"}}};
  const char* writeTo = std::getenv("HARVESTOR_WRITE_EXPECTED");
  const std::string kept = std::string(HARVESTOR_TEST_DATA) + "/streamed/";
  for (const auto& e : exports) {
    SCOPED_TRACE(e.format);
    const auto run =
        RunHarvestor({"export-study", db, "--format", e.format, "--output", out + "/" + e.file},
                     host.root + "/App/bin");
    ASSERT_EQ(run.exitStatus, 0) << run.err;
    std::vector<std::string> names = e.written;
    // Each genotype export's log is kept under its format's name.
    if (std::string(e.format) != "csv") names.push_back("Study.log");
    for (const std::string& name : names) {
      const std::string keptName = name == "Study.log" ? std::string(e.format) + ".log" : name;
      const std::string got = Normalised(ReadFile(out + "/" + name), host.root);
      if (writeTo != nullptr) {
        WriteGz(std::string(writeTo) + "/" + keptName + ".gz", got);
        continue;
      }
      const std::string want = ReadGz(kept + keptName + ".gz");
      EXPECT_TRUE(got == want) << keptName << " differs at " << FirstDifference(got, want);
    }
  }
}

}  // namespace
}  // namespace workstation
