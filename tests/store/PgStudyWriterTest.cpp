// Importing into a PostgreSQL study store: what lands, what a second import
// of one name gets, and that a failed import leaves nothing behind. (A
// reader role's refusal is PgEngineTest's, through the command.)
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
  r.areaScale = 0.5;
  r.properties.push_back({"Pedigree ID", harvestor::Variant::FromText("FAM1")});
  r.properties.push_back({"Gender", harvestor::Variant::FromNumber(2.0)});
  r.traces[1] = {1.5f, -2.0f, 3.25f};
  for (int i = 0; i < fragments; ++i) {
    harvestor::FragmentRecord f;
    f.locus = "D" + std::to_string(i % 7) + "S1";
    f.alleleId = std::to_string(100 + i);
    f.size = 100.125f + static_cast<float>(i);
    f.height = 1e30f;
    f.dye = static_cast<std::int16_t>(1 + i % 4);
    r.fragments.push_back(f);
  }
  return r;
}

class PgStudyWriterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!PgTestServer::instance().available()) GTEST_SKIP() << PgTestServer::instance().why();
  }
  PgConnection connect(const std::string& conninfo) {
    return PgConnection(parseStoreAddress("postgres:" + conninfo));
  }
  // A store holding one small study, "Existing".
  void importExisting(const std::string& conninfo) {
    PgConnection db = connect(conninfo);
    PgStudyWriter writer(db, "Existing");
    writer.add(sampleResult("R", 2));
    writer.commit();
  }
};

TEST_F(PgStudyWriterTest, AddsAStudyInOneTransaction) {
  const std::string conninfo = PgTestServer::instance().createDatabase("writer_adds");
  PgConnection db = connect(conninfo);
  {
    PgStudyWriter writer(db, "Run 1");
    for (int i = 0; i < 3000; ++i) writer.add(sampleResult("R" + std::to_string(i), 50));
    PgConnection other = connect(conninfo);
    EXPECT_THROW(pgschema::check(other), StoreError);  // nothing visible before commit
    writer.commit();
  }
  const PgResult r = db.exec(
      "SELECT count(*), sum(length(fragments)), max(position) FROM harvestor.study_results");
  EXPECT_EQ(r.integer(0, 0), 3000);
  EXPECT_EQ(r.integer(0, 2), 2999);
  EXPECT_EQ(db.exec("SELECT count(*) FROM harvestor.sample_properties").integer(0, 0), 6000);
  EXPECT_EQ(db.exec("SELECT count(*) FROM harvestor.traces").integer(0, 0), 3000);
  const PgResult first =
      db.exec("SELECT fragments FROM harvestor.study_results WHERE position = 7");
  EXPECT_GT(first.rows(), 0);

  EXPECT_NE(RefusalOf<StoreError>([&] { PgStudyWriter again(db, "Run 1"); }).find("exists already"),
            std::string::npos);
  {
    PgStudyWriter abandoned(db, "Run 2");
    abandoned.add(sampleResult("X", 3));
  }
  EXPECT_EQ(db.exec("SELECT count(*) FROM harvestor.studies").integer(0, 0), 1);
}

TEST_F(PgStudyWriterTest, ABatchTheServerRefusesWhileTheNextIsGatheredFailsTheWholeImport) {
  // Batches are sent while the next is gathered: the server's refusal of
  // one, early or the last, still stops the import and leaves nothing.
  auto& server = PgTestServer::instance();
  const std::string conninfo = server.createDatabase("writer_refused");
  importExisting(conninfo);
  PgConnection db = connect(conninfo);
  ASSERT_TRUE(
      server.adminSql("ALTER TABLE harvestor.study_results ADD CONSTRAINT refused_result "
                      "CHECK (name NOT IN ('R100', 'R2900'))",
                      "writer_refused"));
  for (const char* study : {"Refused early", "Refused last"}) {
    SCOPED_TRACE(study);
    const bool early = std::string(study) == "Refused early";
    try {
      PgStudyWriter writer(db, study);
      for (int i = 0; i < 3000; ++i) {
        if (i == (early ? 2900 : 100)) continue;  // only one refused name a run
        writer.add(sampleResult("R" + std::to_string(i), 300));
      }
      writer.commit();
      ADD_FAILURE() << "a refused row was committed";
    } catch (const StoreError& e) {
      EXPECT_NE(std::string(e.what()).find("refused_result"), std::string::npos) << e.what();
    }
    EXPECT_EQ(db.exec("SELECT count(*) FROM harvestor.studies").integer(0, 0), 1);
  }
}

}  // namespace
}  // namespace workstation
