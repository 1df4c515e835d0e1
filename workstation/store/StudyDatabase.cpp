#include "workstation/store/StudyDatabase.h"

#include <filesystem>
#include <unordered_map>

#include "workstation/store/Database.h"
#include "workstation/store/LocusCollector.h"
#include "workstation/store/Schema.h"
#include "workstation/store/StudySource.h"

namespace workstation {
namespace {

class SqliteStudySource final : public StudySource {
 public:
  SqliteStudySource(std::shared_ptr<Database> db, std::int64_t studyId)
      : db_(std::move(db)), studyId_(studyId) {}

  std::array<std::vector<float>, 4> traces(std::int64_t sampleId) override {
    std::array<std::vector<float>, 4> traces;
    Statement q(*db_, "SELECT dye, scans FROM traces WHERE sample_id = ?");
    q.bind(1, sampleId);
    while (q.step()) {
      const auto d = q.integer(0);
      if (d >= 1 && d <= 4) traces[static_cast<std::size_t>(d - 1)] = decodeScans(q.blob(1));
    }
    return traces;
  }
  std::vector<std::string> currentLoci() override {
    return workstation::currentLoci(*db_, studyId_);
  }

 private:
  std::shared_ptr<Database> db_;
  std::int64_t studyId_;
};

// A read transaction: every query in it sees the database as it was at the first.
class ReadSnapshot {
 public:
  explicit ReadSnapshot(Database& db) : db_(db) { db_.exec("BEGIN"); }
  ~ReadSnapshot() {
    try {
      db_.exec("COMMIT");
    } catch (const StoreError&) {
      // Nothing was written: ending the read cannot lose anything.
    }
  }
  ReadSnapshot(const ReadSnapshot&) = delete;
  ReadSnapshot& operator=(const ReadSnapshot&) = delete;

 private:
  Database& db_;
};

}  // namespace

StudyDatabase::StudyDatabase(const std::string& path) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec))
    throw StoreError(path + ": no such study database");
  db_ = std::make_shared<Database>(path, Database::Mode::ReadOnly);
  schema::check(*db_);
}

StudyDatabase::~StudyDatabase() = default;

const std::string& StudyDatabase::display() const { return db_->path(); }

std::vector<std::string> StudyDatabase::studyNames() {
  std::vector<std::string> names;
  Statement q(*db_, "SELECT name FROM studies ORDER BY id");
  while (q.step()) names.push_back(q.text(0));
  return names;
}

std::int64_t StudyDatabase::studyId(const std::string& name, std::string* resolvedName) {
  if (name.empty()) {
    Statement q(*db_, "SELECT id, name FROM studies ORDER BY id LIMIT 2");
    if (!q.step()) throw StoreError(db_->path() + ": holds no study");
    const std::int64_t id = q.integer(0);
    *resolvedName = q.text(1);
    if (q.step()) throw StoreError(db_->path() + ": holds several studies; name one with --study");
    return id;
  }
  Statement q(*db_, "SELECT id, name FROM studies WHERE name = ?");
  q.bind(1, std::string_view(name));
  if (!q.step()) throw StoreError(db_->path() + ": no study named '" + name + "'");
  *resolvedName = q.text(1);
  return q.integer(0);
}

std::shared_ptr<StoredStudy> StudyDatabase::loadStudy(const std::string& name) {
  ReadSnapshot snapshot(*db_);
  auto study = std::make_shared<StoredStudy>();
  const std::int64_t id = studyId(name, &study->name);
  study->source = std::make_shared<SqliteStudySource>(db_, id);

  std::unordered_map<std::int64_t, std::shared_ptr<SampleFacts>> samples;
  std::unordered_map<std::int64_t, StoredFragments*> fragmentsOf;
  {
    Statement q(*db_,
                "SELECT sr.id, sr.excluded, r.name, s.id, s.subject_id, s.analysis_revision, "
                "s.area_scale FROM study_results sr JOIN results r ON r.id = sr.result_id "
                "JOIN samples s ON s.id = r.sample_id WHERE sr.study_id = ? ORDER BY sr.position");
    q.bind(1, id);
    while (q.step()) {
      const std::int64_t sampleId = q.integer(3);
      auto& facts = samples[sampleId];
      if (!facts) {
        facts = std::make_shared<SampleFacts>();
        facts->id = sampleId;
        facts->subjectId = q.text(4);
        facts->analysisRevision = static_cast<std::int32_t>(q.integer(5));
        facts->record->areaScale = q.real(6);
        facts->resultName = q.text(2);
      }
      auto studyResult = std::make_shared<StoredStudyResult>();
      studyResult->excluded = q.integer(1) != 0;
      studyResult->fragments = facts->fragments;
      studyResult->result = std::make_shared<StoredResult>(study->source, q.text(2), facts);
      fragmentsOf[q.integer(0)] = studyResult->fragments.get();
      study->results->items.push_back(std::move(studyResult));
    }
  }
  {
    Statement q(*db_,
                "SELECT p.sample_id, p.name, p.text_value, p.number_value FROM sample_properties p "
                "WHERE p.sample_id IN (SELECT r.sample_id FROM study_results sr JOIN results r "
                "ON r.id = sr.result_id WHERE sr.study_id = ?) ORDER BY p.sample_id, p.position");
    q.bind(1, id);
    while (q.step()) {
      const auto it = samples.find(q.integer(0));
      if (it == samples.end()) continue;
      harvestor::Variant value = q.isNull(3) ? harvestor::Variant::FromText(q.text(2))
                                             : harvestor::Variant::FromNumber(q.real(3));
      it->second->record->properties->entries.push_back({q.text(1), std::move(value)});
    }
  }
  {
    Statement q(*db_,
                "SELECT f.study_result_id, f.locus, f.allele_id, f.comment, f.condition_code, "
                "f.excluded, f.dye, f.fragment_size, f.peak_height, f.peak_area, f.area_divisor "
                "FROM fragments f JOIN study_results sr ON sr.id = f.study_result_id "
                "WHERE sr.study_id = ? ORDER BY f.study_result_id, f.position");
    q.bind(1, id);
    std::int64_t current = -1;
    StoredFragments* target = nullptr;
    while (q.step()) {
      if (q.integer(0) != current) {
        current = q.integer(0);
        target = fragmentsOf.at(current);
      }
      StoredFragment& f = target->items.emplace_back();
      f.locus = q.text(1);
      f.alleleId = q.text(2);
      f.comment = q.text(3);
      f.conditionCode = static_cast<std::int32_t>(q.integer(4));
      f.excluded = q.integer(5) != 0;
      f.dye = static_cast<std::int16_t>(q.integer(6));
      f.size = static_cast<float>(q.real(7));
      f.height = static_cast<float>(q.real(8));
      f.area = static_cast<float>(q.real(9));
      f.divisor = static_cast<float>(q.real(10));
    }
  }
  return study;
}

std::vector<std::string> StudyDatabase::studyLoci(const std::string& name) {
  std::string resolved;
  return currentLoci(*db_, studyId(name, &resolved));
}

std::vector<std::string> currentLoci(Database& db, std::int64_t id) {
  Statement q(db,
              "SELECT f.locus FROM fragments f JOIN study_results sr ON sr.id = f.study_result_id "
              "WHERE sr.study_id = ? AND f.locus <> '' ORDER BY sr.position, f.position");
  q.bind(1, id);
  LocusCollector loci;
  while (q.step()) loci.add(q.blob(0));
  return loci.take();
}

}  // namespace workstation
