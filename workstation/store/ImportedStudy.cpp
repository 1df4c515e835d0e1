#include "workstation/store/ImportedStudy.h"

#include <sys/stat.h>

#include <cerrno>

#include "workstation/store/Database.h"
#include "workstation/store/FragmentPack.h"
#include "workstation/store/PrivateDatabaseFile.h"
#include "workstation/store/Schema.h"

namespace workstation {
namespace {

// How long an import waits for another import into the same database to
// finish before it gives up and says the database is busy.
constexpr int kWriterPatienceMs = 10 * 60 * 1000;

void insertStudy(Database& db, const std::string& name, const ResultSource& results) {
  Statement exists(db, "SELECT 1 FROM studies WHERE name = ?");
  exists.bind(1, std::string_view(name));
  if (exists.step()) throw StoreError(db.path() + ": a study named '" + name + "' exists already");

  Statement addStudyRow(db, "INSERT INTO studies(name) VALUES(?)");
  addStudyRow.bind(1, std::string_view(name)).run();
  const std::int64_t studyId = db.lastInsertId();

  Statement addSample(
      db, "INSERT INTO samples(subject_id, analysis_revision, area_scale) VALUES(?,?,?)");
  Statement addProperty(db,
                        "INSERT INTO sample_properties(sample_id, position, name, text_value, "
                        "number_value) VALUES(?,?,?,?,?)");
  Statement addTrace(db, "INSERT INTO traces(sample_id, dye, scans) VALUES(?,?,?)");
  Statement addResult(db, "INSERT INTO results(name, sample_id) VALUES(?,?)");
  Statement addStudyResult(db,
                           "INSERT INTO study_results(study_id, result_id, position, excluded, "
                           "fragments) VALUES(?,?,?,?,?)");
  std::int64_t position = 0;
  std::string pack;  // reused: a result's pack is a few kilobytes
  results([&](const ImportedResult& r) {
    addSample.bind(1, std::string_view(r.subjectId))
        .bind(2, std::int64_t{r.analysisRevision})
        .bind(3, r.areaScale)
        .run();
    const std::int64_t sampleId = db.lastInsertId();
    std::int64_t p = 0;
    for (const harvestor::PropertyEntry& e : r.properties) {
      addProperty.bind(1, sampleId).bind(2, p++).bind(3, std::string_view(e.Name));
      if (e.Value.GetKind() == harvestor::Variant::Kind::Number) {
        addProperty.bindNull(4).bind(5, *e.Value.ToNumber());
      } else {
        addProperty.bind(4, std::string_view(e.Value.ToText())).bindNull(5);
      }
      addProperty.run();
    }
    for (std::size_t dye = 0; dye < r.traces.size(); ++dye) {
      if (r.traces[dye].empty()) continue;
      const std::string bytes = encodeScans(r.traces[dye]);
      addTrace.bind(1, sampleId)
          .bind(2, static_cast<std::int64_t>(dye + 1))
          .bindBlob(3, bytes.data(), bytes.size())
          .run();
    }
    addResult.bind(1, std::string_view(r.name)).bind(2, sampleId).run();
    const std::int64_t resultId = db.lastInsertId();
    pack.clear();
    encodeFragments(r.fragments, pack);
    addStudyResult.bind(1, studyId)
        .bind(2, resultId)
        .bind(3, position++)
        .bind(4, std::int64_t{r.excluded})
        .bindBlob(5, pack.data(), pack.size())
        .run();
  });
}

// Runs fill in one write transaction on the database at path, creating the
// file (whole, or not at all) when there is none. True when it created it.
template <class Fill>
bool writeDatabase(const std::string& path, Fill fill) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 && errno == ENOENT) {
    // Built privately and published whole, so no other run ever sees, joins
    // or removes a half-made database.
    PrivateDatabaseFile file(path);
    {
      Database db(file.path(), Database::Mode::ReadWriteCreate, path);
      // Nobody else can open this file, and a failed build is thrown away
      // whole: no journal is needed, and the file is synced once at the end.
      db.exec("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; PRAGMA cache_size = -8192");
      Transaction transaction(db);
      schema::createOrCheck(db);
      fill(db);
      transaction.commit();
    }
    if (file.publish()) return true;
    // Another run created the database meanwhile: join it as below.
  }
  if (::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    throw StoreError(path + ": is a folder, not a study database");
  }
  Database db(path, Database::Mode::ReadWrite);
  db.setBusyTimeout(kWriterPatienceMs);
  db.exec("PRAGMA synchronous = NORMAL; PRAGMA cache_size = -131072");
  Transaction transaction(db);
  schema::createOrCheck(db);
  fill(db);
  transaction.commit();
  return false;
}

}  // namespace

void addStudy(const std::string& path, const ImportedStudy& study) {
  addStudy(path, study.name, [&](const ResultSink& add) {
    for (const ImportedResult& r : study.results) add(r);
  });
}

void addStudy(const std::string& path, const std::string& name, const ResultSource& results) {
  writeDatabase(path, [&](Database& db) { insertStudy(db, name, results); });
}

bool createStudyDatabase(const std::string& path) {
  return writeDatabase(path, [](Database&) {});
}

}  // namespace workstation
