// Importing into a PostgreSQL study store: what lands, and that a failed
// import leaves nothing behind.
#include <gtest/gtest.h>

#include "tests/fakes/TestHost.h"
#include "tests/store/PgTestServer.h"
#include "workstation/store/Database.h"
#include "workstation/store/PgSchema.h"
#include "workstation/store/PgStudyWriter.h"

namespace workstation {
namespace {

using harvestor::testing::RefusalOf;
using testing::PgTestServer;

ImportedResult sampleResult(const std::string& name, int fragments) {
  ImportedResult r;
  r.name = name;
  r.subjectId = "S-" + name;
  r.properties.push_back({"Pedigree ID", harvestor::Variant::FromText("FAM1")});
  r.properties.push_back({"Gender", harvestor::Variant::FromNumber(2.0)});
  r.traces[1] = {1.5f, -2.0f, 3.25f};
  r.fragments.resize(static_cast<std::size_t>(fragments));
  for (int i = 0; i < fragments; ++i)
    r.fragments[static_cast<std::size_t>(i)].alleleId = std::to_string(100 + i);
  return r;
}

class PgStudyWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PgTestServer::instance().available()) GTEST_SKIP() << PgTestServer::instance().why();
  }
  static PgConnection connect(const std::string& conninfo) {
    return PgConnection(parseStoreAddress("postgres:" + conninfo));
  }
  static std::int64_t studies(PgConnection& db) {
    return db.exec("SELECT count(*) FROM harvestor.studies").integer(0, 0);
  }
};

// Nothing is visible before the commit; a writer dropped uncommitted leaves nothing.
TEST_F(PgStudyWriterTest, AddsAStudyInOneTransaction) {
  const std::string conninfo = PgTestServer::instance().createDatabase("writer_adds");
  PgConnection db = connect(conninfo);
  {
    PgStudyWriter writer(db, "Run 1");
    for (int i = 0; i < 3000; ++i) writer.add(sampleResult("R" + std::to_string(i), 50));
    PgConnection other = connect(conninfo);
    EXPECT_THROW(pgschema::check(other), StoreError);
    writer.commit();
  }
  const PgResult r = db.exec(
      "SELECT count(*), max(position), (SELECT count(*) FROM harvestor.sample_properties), "
      "(SELECT count(*) FROM harvestor.traces) FROM harvestor.study_results");
  EXPECT_EQ(r.integer(0, 0), 3000);
  EXPECT_EQ(r.integer(0, 1), 2999);
  EXPECT_EQ(r.integer(0, 2), 6000);
  EXPECT_EQ(r.integer(0, 3), 3000);
  {
    PgStudyWriter abandoned(db, "Run 2");
    abandoned.add(sampleResult("X", 3));
  }
  EXPECT_EQ(studies(db), 1);
}

// Batches are sent while the next is gathered: the server's refusal of one,
// early or the last, still stops the import and leaves nothing.
TEST_F(PgStudyWriterTest, ABatchTheServerRefusesWhileTheNextIsGatheredFailsTheWholeImport) {
  auto& server = PgTestServer::instance();
  PgConnection db = connect(server.createDatabase("writer_refused"));
  {
    PgStudyWriter existing(db, "Existing");
    existing.add(sampleResult("R", 2));
    existing.commit();
  }
  ASSERT_TRUE(
      server.adminSql("ALTER TABLE harvestor.study_results ADD CONSTRAINT refused_result "
                      "CHECK (name NOT IN ('R100', 'R2900'))",
                      "writer_refused"));
  for (const int skipped : {2900, 100}) {  // only one refused name a run: early, then last
    SCOPED_TRACE(skipped);
    EXPECT_NE(RefusalOf<StoreError>([&] {
                PgStudyWriter writer(db, "Refused " + std::to_string(skipped));
                for (int i = 0; i < 3000; ++i)
                  if (i != skipped) writer.add(sampleResult("R" + std::to_string(i), 300));
                writer.commit();
              }).find("refused_result"),
              std::string::npos);
    EXPECT_EQ(studies(db), 1);
  }
}

}  // namespace
}  // namespace workstation
