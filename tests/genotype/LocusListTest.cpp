// LocusList.txt: finding, testing and reading it, with its log lines.
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <filesystem>
#include <thread>

#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/service/ErrorLog.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

using Lines = std::vector<std::string>;

Lines Entries(const GenoGroup& group) {
  return Lines(group.LociList()->begin(), group.LociList()->end());
}

TEST(LocusListTest, LinesEndAtCrLfOrALoneCrAndALoneLfStays) {
  using LocusListFile::SplitLines;
  EXPECT_EQ(SplitLines("D2\r\nD3\r\nD1\r\n"), (Lines{"D2", "D3", "D1"}));
  EXPECT_EQ(SplitLines("D2\r\n\r\nD1"), (Lines{"D2", "", "D1"}));
  EXPECT_EQ(SplitLines("A\rB\nC\r\n"), (Lines{"A", "B\nC"}));
  EXPECT_EQ(SplitLines("\r\n"), (Lines{""}));
  EXPECT_EQ(SplitLines("D1\r\n\n"), (Lines{"D1", "\n"}));
  EXPECT_EQ(SplitLines(""), Lines{});
}

TEST(LocusListTest, ReadingLogsByTheStateOfTheFile) {
  testing::TestHost host;
  const std::string name = host.exportFolder + "/LocusList.txt";
  const std::string missing = "Missing locus list file. Expected: " + name;
  const std::string used = "Using locus list: " + name;
  const std::string none = "\tNo loci included in exported file.";
  const std::string editor = "Missing or Empty LocusList.txt.  View LocusList Editor.";
  GenoGroup group;
  const auto log = [&](bool checked, bool read) {
    ErrorLog::InitalizeExportLog();
    EXPECT_EQ(group.CheckLocusList(), checked);
    EXPECT_EQ(group.ReadLocusList(false), read);
    return host.Log();
  };
  EXPECT_EQ(log(false, false), (Lines{missing, none, missing, none, editor}));
  std::filesystem::create_directory(name);  // a folder in its place: the same
  testing::WriteFile(name + "/D1", "D1\r\n");
  EXPECT_EQ(log(false, false), (Lines{missing, none, missing, none, editor}));
  std::filesystem::remove_all(name);
  host.WriteLocusList("");
  EXPECT_EQ(log(false, true), (Lines{used, used, "Empty locus list: " + name, none, editor}));
  EXPECT_TRUE(Entries(group).empty());
  host.WriteLocusList("\r\n");
  EXPECT_EQ(log(true, true), (Lines{used, used}));
  EXPECT_EQ(Entries(group), Lines{""});
  EXPECT_TRUE(group.ReadLocusList(false));  // a second read adds behind the first
  EXPECT_EQ(Entries(group), (Lines{"", ""}));
}

TEST(LocusListTest, AFileOf32768BytesOrMoreFailsTheCheckButIsStillRead) {
  testing::TestHost host;
  host.WriteLocusList(std::string(32766, 'x') + "\r\n");
  GenoGroup group;
  EXPECT_FALSE(group.CheckLocusList());
  EXPECT_TRUE(group.ReadLocusList(false));
  EXPECT_EQ(group.LociList()->Count(), 1);
  host.WriteLocusList(std::string(32765, 'x') + "\r\n");
  EXPECT_TRUE(group.CheckLocusList());
  EXPECT_TRUE(host.utility.reported.empty());
}

// Runs `body` on a thread without root's file access override, so a file
// without permission bits cannot be opened; the raw call changes only this thread.
template <typename Body>
void WithoutFileAccessOverride(Body body) {
  std::thread([&] {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[_LINUX_CAPABILITY_U32S_3]{};
    ASSERT_EQ(::syscall(SYS_capget, &header, data), 0);
    for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH}) {
      data[CAP_TO_INDEX(cap)].effective &= ~CAP_TO_MASK(cap);
    }
    ASSERT_EQ(::syscall(SYS_capset, &header, data), 0);
    body();
  }).join();
}

TEST(LocusListTest, AListThatCannotBeOpenedFailsTheCheckAndIsNotRead) {
  testing::TestHost host;
  const std::string name = host.exportFolder + "/LocusList.txt";
  host.WriteLocusList("D1\r\nD2\r\n");
  std::filesystem::permissions(name, std::filesystem::perms::none);
  GenoGroup group;
  bool checked = true;
  bool read = true;
  WithoutFileAccessOverride([&] {
    checked = group.CheckLocusList();
    read = group.ReadLocusList(false);
  });
  EXPECT_FALSE(checked);
  EXPECT_FALSE(read);
  EXPECT_EQ(host.Log(), (Lines{"Using locus list: " + name, "Using locus list: " + name,
                               "Can't read " + name + " File may be open."}));
  std::filesystem::permissions(name, std::filesystem::perms::owner_read);
  EXPECT_TRUE(group.CheckLocusList());  // the same file, once it can be opened
}

TEST(LocusListTest, UpdatingOpensTheEditorWithTheList) {
  testing::TestHost host;
  host.WriteLocusList("D1\r\n");
  GenoGroup group;
  EXPECT_TRUE(group.ReadLocusList(true));
  ASSERT_EQ(host.application.windows.calls.size(), 1u);
  const auto& call = host.application.windows.calls[0];
  EXPECT_EQ(call.pageName, "ShowLocusListEditPage");
  EXPECT_EQ(call.flag, -1);
  EXPECT_EQ(std::any_cast<CollectionPtr<std::string>>(call.parameter), group.LociList());
}

}  // namespace
}  // namespace harvestor
