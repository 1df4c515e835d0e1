#include "workstation/store/StudyDatabase.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <unordered_map>

#include "workstation/store/Database.h"
#include "workstation/store/FragmentPack.h"
#include "workstation/store/FragmentWindows.h"
#include "workstation/store/LocusCollector.h"
#include "workstation/store/Schema.h"
#include "workstation/store/StudySource.h"

namespace workstation {
namespace {

// Fragments are read on a connection of the source's own, a window ahead
// of the reader (FragmentWindows).
class SqliteStudySource final : public StudySource {
 public:
  SqliteStudySource(std::shared_ptr<Database> db, std::int64_t studyId)
      : db_(std::move(db)), studyId_(studyId), windows_([this](auto& window) { read(window); }) {}

  // Adds the next study result, in the study's order, by its stored position.
  void addResult(std::int64_t position) {
    positions_.push_back(position);
    windows_.setCount(positions_.size());
  }

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
  std::shared_ptr<StoredFragments> fragments(std::size_t index) override {
    return windows_.at(index);
  }

 private:
  void read(FragmentWindows::Window& window) {
    if (!readDb_) readDb_ = std::make_unique<Database>(db_->path(), Database::Mode::ReadOnly);
    if (!windowQuery_) {
      // In the results' order, which the (study_id, position) index gives without a sort.
      windowQuery_ = std::make_unique<Statement>(
          *readDb_,
          "SELECT position, fragments FROM study_results WHERE study_id = ? AND position "
          "BETWEEN ? AND ? ORDER BY position");
    }
    const std::size_t first = window.first;
    const std::size_t last = window.end();
    Statement& q = *windowQuery_;
    q.bind(1, studyId_).bind(2, positions_[first]).bind(3, positions_[last - 1]);
    std::size_t index = first;
    std::size_t unread = first;  // results before this one were decoded or emptied
    const auto emptyUpTo = [&](std::size_t end) {
      for (; unread < end; ++unread) window.items[unread - first]->items.clear();
    };
    while (q.step()) {
      const std::int64_t position = q.integer(0);
      while (index < last && positions_[index] < position) ++index;
      if (index == last) break;
      if (positions_[index] != position) continue;
      emptyUpTo(index);
      unread = index + 1;
      // Decoded in place: the texts are short, so assigning them allocates nothing.
      try {
        decodeFragments(q.blob(1), window.items[index - first]->items);
      } catch (const StoreError& e) {
        throw StoreError(db_->path() + ": study result " + std::to_string(position) + ": " +
                         e.what());
      }
    }
    emptyUpTo(last);
    q.reset();
  }

  std::shared_ptr<Database> db_;
  std::int64_t studyId_;
  std::vector<std::int64_t> positions_;     // by index in the study's order
  std::unique_ptr<Database> readDb_;        // the fragment reads' own connection
  std::unique_ptr<Statement> windowQuery_;  // prepared on readDb_, finalized before it closes
  FragmentWindows windows_;                 // last: its prefetch ends before the connection closes
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
  auto source = std::make_shared<SqliteStudySource>(db_, id);
  study->source = source;

  std::unordered_map<std::int64_t, std::shared_ptr<SampleFacts>> samples;
  {
    Statement q(*db_,
                "SELECT sr.position, sr.excluded, r.name, s.id, s.subject_id, s.analysis_revision, "
                "s.area_scale FROM study_results sr JOIN results r ON r.id = sr.result_id "
                "JOIN samples s ON s.id = r.sample_id WHERE sr.study_id = ? ORDER BY sr.position");
    q.bind(1, id);
    while (q.step()) {
      const std::size_t index = study->results->items.size();
      source->addResult(q.integer(0));
      const std::int64_t sampleId = q.integer(3);
      auto& facts = samples[sampleId];
      if (!facts) {
        facts = std::make_shared<SampleFacts>();
        facts->id = sampleId;
        facts->subjectId = q.text(4);
        facts->analysisRevision = static_cast<std::int32_t>(q.integer(5));
        facts->record->areaScale = q.real(6);
        facts->resultName = q.text(2);
        facts->fragments = nullptr;
        facts->source = source;
        facts->sourceIndex = index;
      }
      auto studyResult = std::make_shared<StoredStudyResult>();
      studyResult->excluded = q.integer(1) != 0;
      studyResult->fragments = nullptr;
      studyResult->source = source;
      studyResult->sourceIndex = facts->sourceIndex;
      studyResult->result = std::make_shared<StoredResult>(study->source, q.text(2), facts);
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
  return study;
}

std::vector<std::string> StudyDatabase::studyLoci(const std::string& name) {
  std::string resolved;
  return currentLoci(*db_, studyId(name, &resolved));
}

std::vector<std::string> currentLoci(Database& db, std::int64_t id) {
  Statement q(db, "SELECT fragments FROM study_results WHERE study_id = ? ORDER BY position");
  q.bind(1, id);
  LocusCollector loci;
  std::vector<StoredFragment> fragments;
  while (q.step()) {
    decodeFragments(q.blob(0), fragments);
    for (const StoredFragment& f : fragments) loci.add(f.locus);
  }
  return loci.take();
}

}  // namespace workstation
