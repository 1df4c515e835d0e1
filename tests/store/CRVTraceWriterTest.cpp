// The CRV set is replaced as a whole: a write failing at any of its five
// files leaves the previous set and no temporary file.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/fakes/FakeStudy.h"
#include "tests/fakes/FaultyFileSystem.h"
#include "tests/fakes/TestHost.h"
#include "workstation/store/CRVTraceWriter.h"
#include "workstation/store/Database.h"

namespace workstation {
namespace {

using harvestor::testing::FaultyFileSystem;
using harvestor::testing::ReadFile;
using harvestor::testing::RefusalOf;
using harvestor::testing::WriteFile;

TEST(CRVTraceWriterTest, AWriteFailureAtAnyMemberLeavesTheOldSet) {
  const std::vector<std::string> members{"Plate_D1.CRV", "Plate_D2.CRV", "Plate_D3.CRV",
                                         "Plate_D4.CRV", "Plate_CRV_TRACE_ORDER.txt"};
  for (int failing = 0; failing < 5; ++failing) {
    harvestor::testing::TestHost host;
    for (const auto& member : members) WriteFile(host.Path(member), "old\r\n");
    FaultyFileSystem faulty;
    faulty.failing = FaultyFileSystem::Call::Write;
    faulty.failingFile = failing;
    CRVTraceWriter writer(faulty);
    writer.SetOutputFile(host.Path("Plate.CRV"));
    auto sample = std::make_shared<harvestor::testing::FakeSample>();
    sample->traces = {{1, 2}, {3}, {4}, {5}};
    std::int32_t status = 0;
    writer.AddResult(sample, status, "R1");
    ASSERT_EQ(status, 1);
    EXPECT_EQ(RefusalOf<StoreError>([&] { writer.WriteFiles(); }),
              host.Path(members[static_cast<std::size_t>(failing)]) + ": No space left on device");
    for (const auto& member : members) EXPECT_EQ(ReadFile(host.Path(member)), "old\r\n") << failing;
    for (const auto& entry : std::filesystem::directory_iterator(host.root)) {
      EXPECT_FALSE(entry.path().filename().string().starts_with(".harvestor-")) << entry.path();
    }
  }
}

}  // namespace
}  // namespace workstation
