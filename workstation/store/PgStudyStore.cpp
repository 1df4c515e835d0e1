#include "workstation/store/PgStudyStore.h"

#include <algorithm>
#include <future>
#include <string>

#include "workstation/store/Database.h"
#include "workstation/store/FragmentPack.h"
#include "workstation/store/FragmentWindows.h"
#include "workstation/store/LocusCollector.h"
#include "workstation/store/PgSchema.h"
#include "workstation/store/StudySource.h"

namespace workstation {
namespace {

// A read-only snapshot transaction, rolled back (there is nothing to keep)
// however the reading ends.
class Snapshot {
 public:
  // With an id (from pg_export_snapshot), the transaction sees exactly what
  // the transaction that exported it sees.
  explicit Snapshot(PgConnection& db, const std::string& id = "") : db_(db) {
    db_.exec("BEGIN ISOLATION LEVEL REPEATABLE READ READ ONLY");
    if (!id.empty()) {
      // The id is the server's own; it is checked only because it is spliced
      // into a statement that takes no parameters.
      if (id.find_first_not_of("0123456789ABCDEFabcdef-") != std::string::npos)
        throw StoreError(db_.display() + ": unexpected snapshot id '" + id + "'");
      db_.exec("SET TRANSACTION SNAPSHOT '" + id + "'");
    }
  }
  ~Snapshot() {
    try {
      db_.exec("ROLLBACK");
    } catch (const StoreError&) {
      // The connection is gone, and the server has ended the transaction.
    }
  }
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;

 private:
  PgConnection& db_;
};

std::vector<std::string> lociOf(PgConnection& db, std::int64_t studyId) {
  LocusCollector loci;
  std::vector<harvestor::FragmentRecord> fragments;
  db.streamBinary("SELECT fragments FROM harvestor.study_results WHERE study_id = " +
                      std::to_string(studyId) + " ORDER BY position",
                  {}, [&](const PgResult& batch) {
                    for (int row = 0; row < batch.rows(); ++row) {
                      decodeFragments(batch.text(row, 0), fragments);
                      for (const auto& f : fragments) loci.add(f.locus);
                    }
                  });
  return loci.take();
}

// A study's fragments are read on a connection of the source's own, a
// window ahead of the reader (FragmentWindows), as a SQLite store reads them.
class PgStudySource final : public StudySource {
 public:
  PgStudySource(std::shared_ptr<PgConnection> db, StoreAddress address, std::int64_t studyId)
      : db_(std::move(db)),
        address_(std::move(address)),
        studyId_(std::to_string(studyId)),
        windows_([this](auto& window) { readWindow(window); }) {}

  // The study's results are at positions 0 to count - 1.
  void setResultCount(std::size_t count) { windows_.setCount(count); }

  std::shared_ptr<StoredFragments> fragments(std::size_t index) override {
    return windows_.at(index);
  }

  std::array<std::vector<float>, 4> traces(std::int64_t sampleId) override {
    const std::string position = std::to_string(sampleId);
    const PgResult r = db_->execBinary(
        "SELECT dye, scans FROM harvestor.traces WHERE study_id = $1 AND result_position = $2",
        {studyId_.c_str(), position.c_str()});
    std::array<std::vector<float>, 4> traces;
    for (int row = 0; row < r.rows(); ++row) {
      const auto dye = r.binaryInteger(row, 0);
      if (dye >= 1 && dye <= 4)
        traces[static_cast<std::size_t>(dye - 1)] = decodeScans(r.text(row, 1));
    }
    return traces;
  }

  std::vector<std::string> currentLoci() override {
    Snapshot snapshot(*db_);
    return lociOf(*db_, std::stoll(studyId_));
  }

  // The sample properties of each result position, read on the source's own
  // connection in the snapshot the study is loaded from, so that the server
  // sends them while the study's results are read on the other.
  using PropertiesByPosition = std::vector<std::vector<harvestor::PropertyEntry>>;
  PropertiesByPosition readProperties(const std::string& snapshotId) {
    PropertiesByPosition byPosition;
    PgConnection& db = readConnection();
    Snapshot snapshot(db, snapshotId);
    db.streamBinary(
        "SELECT result_position, name, text_value, number_value FROM "
        "harvestor.sample_properties WHERE study_id = $1 ORDER BY result_position, position",
        {studyId_.c_str()}, [&](const PgResult& batch) {
          for (int row = 0; row < batch.rows(); ++row) {
            const auto position = batch.binaryInteger(row, 0);
            if (position < 0 || position > kMaxPosition) continue;
            if (static_cast<std::size_t>(position) >= byPosition.size())
              byPosition.resize(static_cast<std::size_t>(position) + 1);
            // As a SQLite store reads it: a value without a number is text.
            harvestor::Variant value =
                batch.isNull(row, 3) ? harvestor::Variant::FromText(std::string(batch.text(row, 2)))
                                     : harvestor::Variant::FromNumber(batch.binaryReal(row, 3));
            byPosition[static_cast<std::size_t>(position)].push_back(
                {std::string(batch.text(row, 1)), std::move(value)});
          }
        });
    return byPosition;
  }

 private:
  // Positions are integer columns.
  static constexpr std::int64_t kMaxPosition = 0x7fffffff;

  PgConnection& readConnection() {
    if (!readDb_) readDb_ = std::make_unique<PgConnection>(address_);
    return *readDb_;
  }

  void readWindow(FragmentWindows::Window& window) {
    PgConnection& db = readConnection();
    const std::size_t first = window.first, last = window.end();
    for (const auto& fragments : window.items) fragments->items.clear();
    const std::string from = std::to_string(first), to = std::to_string(last);
    // Each row is decoded as it arrives, while the server sends the next.
    db.streamBinary(
        "SELECT position, fragments FROM harvestor.study_results WHERE study_id = $1 AND "
        "position >= $2 AND position < $3",
        {studyId_.c_str(), from.c_str(), to.c_str()}, [&](const PgResult& r) {
          for (int row = 0; row < r.rows(); ++row) {
            const auto position = r.binaryInteger(row, 0);
            if (position < static_cast<std::int64_t>(first) ||
                position >= static_cast<std::int64_t>(last))
              continue;
            decodeFragments(r.text(row, 1),
                            window.items[static_cast<std::size_t>(position) - first]->items);
          }
        });
  }

  std::shared_ptr<PgConnection> db_;
  StoreAddress address_;
  std::string studyId_;
  std::unique_ptr<PgConnection> readDb_;  // the fragment reads' own connection
  FragmentWindows windows_;               // last: its prefetch ends before the connection closes
};

}  // namespace

PgStudyStore::PgStudyStore(const StoreAddress& address)
    : db_(std::make_shared<PgConnection>(address)), address_(address) {
  pgschema::check(*db_);
}

std::vector<std::string> PgStudyStore::studyNames() {
  const PgResult r = db_->exec("SELECT name FROM harvestor.studies ORDER BY id");
  std::vector<std::string> names;
  for (int row = 0; row < r.rows(); ++row) names.emplace_back(r.text(row, 0));
  return names;
}

std::int64_t PgStudyStore::studyId(const std::string& name, std::string* resolvedName) {
  if (name.empty()) {
    const PgResult r = db_->exec("SELECT id, name FROM harvestor.studies ORDER BY id LIMIT 2");
    if (r.rows() == 0) throw StoreError(display() + ": holds no study");
    if (r.rows() > 1)
      throw StoreError(display() + ": holds several studies; name one with --study");
    *resolvedName = r.text(0, 1);
    return r.integer(0, 0);
  }
  const PgResult r =
      db_->exec("SELECT id, name FROM harvestor.studies WHERE name = $1", {name.c_str()});
  if (r.rows() == 0) throw StoreError(display() + ": no study named '" + name + "'");
  *resolvedName = r.text(0, 1);
  return r.integer(0, 0);
}

std::shared_ptr<StoredStudy> PgStudyStore::loadStudy(const std::string& name) {
  Snapshot snapshot(*db_);
  auto study = std::make_shared<StoredStudy>();
  const std::int64_t id = studyId(name, &study->name);
  auto source = std::make_shared<PgStudySource>(db_, address_, id);
  study->source = source;

  const std::string snapshotId(db_->exec("SELECT pg_export_snapshot()").text(0, 0));
  auto properties = std::async(
      std::launch::async, [&source, &snapshotId] { return source->readProperties(snapshotId); });

  std::vector<std::shared_ptr<SampleFacts>> samples;  // by result position
  db_->streamBinary(
      "SELECT position, name, subject_id, excluded, analysis_revision, area_scale "
      "FROM harvestor.study_results WHERE study_id = " +
          std::to_string(id) + " ORDER BY position",
      {}, [&](const PgResult& batch) {
        for (int row = 0; row < batch.rows(); ++row) {
          auto facts = std::make_shared<SampleFacts>();
          facts->id = batch.binaryInteger(row, 0);
          facts->resultName = batch.text(row, 1);
          facts->subjectId = batch.text(row, 2);
          facts->analysisRevision = static_cast<std::int32_t>(batch.binaryInteger(row, 4));
          facts->record->areaScale = batch.binaryReal(row, 5);
          facts->fragments = nullptr;
          facts->source = source;
          facts->sourceIndex = samples.size();
          auto studyResult = std::make_shared<StoredStudyResult>();
          studyResult->excluded = batch.binaryBool(row, 3);
          studyResult->fragments = nullptr;
          studyResult->source = source;
          studyResult->sourceIndex = samples.size();
          studyResult->result =
              std::make_shared<StoredResult>(study->source, facts->resultName, facts);
          study->results->items.push_back(std::move(studyResult));
          if (facts->id != static_cast<std::int64_t>(samples.size())) {
            throw StoreError(display() + ": study '" + study->name +
                             "' has a gap in its results at position " +
                             std::to_string(samples.size()));
          }
          samples.push_back(std::move(facts));
        }
      });
  source->setResultCount(samples.size());
  PgStudySource::PropertiesByPosition byPosition = properties.get();
  byPosition.resize(std::min(byPosition.size(), samples.size()));
  for (std::size_t position = 0; position < byPosition.size(); ++position)
    samples[position]->record->properties->entries = std::move(byPosition[position]);
  return study;
}

std::vector<std::string> PgStudyStore::studyLoci(const std::string& name) {
  Snapshot snapshot(*db_);
  std::string resolved;
  return lociOf(*db_, studyId(name, &resolved));
}

}  // namespace workstation
