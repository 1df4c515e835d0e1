#include "workstation/store/PgStudyWriter.h"

#include <exception>

#include "workstation/store/Database.h"
#include "workstation/store/FragmentPack.h"
#include "workstation/store/PgSchema.h"

namespace workstation {
namespace {

constexpr std::size_t kFlushBytes = 8 << 20;

void sendCopy(PgConnection& db, const char* sql, PgCopyRows& rows, std::size_t& pending) {
  if (pending == 0) return;
  rows.finish();
  db.copyBegin(sql);
  db.copyWrite(rows.bytes());
  db.copyFinish();
  pending = 0;
}

}  // namespace

PgStudyWriter::PgStudyWriter(PgConnection& db, const std::string& studyName)
    : db_(db), studyName_(studyName) {
  // LZ4 packs the fragment packs several times faster than the server's
  // default method, which made the server the import's bottleneck. A
  // server without it (before version 14, or built without it) keeps its
  // own method: its refusal is no reason to stop.
  try {
    db_.exec("SET default_toast_compression = lz4");
  } catch (const StoreError&) {
  }
  db_.exec("BEGIN ISOLATION LEVEL READ COMMITTED");
  open_ = true;
  try {
    start();
  } catch (...) {
    rollback();  // no destructor runs for a constructor that throws
    throw;
  }
}

void PgStudyWriter::start() {
  pgschema::createOrCheck(db_);
  if (db_.exec("SELECT 1 FROM harvestor.studies WHERE name = $1", {studyName_.c_str()}).rows() >
      0) {
    throw StoreError(db_.display() + ": a study named '" + studyName_ + "' exists already");
  }
  try {
    const PgResult r = db_.exec("INSERT INTO harvestor.studies(name) VALUES($1) RETURNING id",
                                {studyName_.c_str()});
    studyId_ = std::string(r.text(0, 0));
  } catch (const StoreError& e) {
    // A concurrent import of the same name commits first: the unique index
    // makes this one wait for it, then refuse.
    if (std::string(e.what()).find("studies_name_key") != std::string::npos) {
      throw StoreError(db_.display() + ": a study named '" + studyName_ + "' exists already");
    }
    if (std::string(e.what()).find("permission denied") != std::string::npos) {
      throw StoreError(std::string(e.what()) + " (this role may read studies but not import them)");
    }
    throw;
  }
}

PgStudyWriter::~PgStudyWriter() { rollback(); }

void PgStudyWriter::rollback() {
  try {
    waitForSend();
  } catch (const std::exception&) {
    // The batch failed; the rollback below ends the transaction all the same.
  }
  if (!open_) return;
  open_ = false;
  try {
    db_.exec("ROLLBACK");
  } catch (const StoreError&) {
    // The connection is gone: the server has rolled back already.
  }
}

void PgStudyWriter::add(const ImportedResult& r) {
  const std::int64_t study = std::stoll(studyId_);
  pack_.clear();
  encodeFragments(r.fragments, pack_);
  gathering_.results.beginRow(8);
  gathering_.results.bigint(study);
  gathering_.results.integer(position_);
  gathering_.results.text(r.name);
  gathering_.results.text(r.subjectId);
  gathering_.results.boolean(r.excluded);
  gathering_.results.integer(r.analysisRevision);
  gathering_.results.real8(r.areaScale);
  gathering_.results.text(pack_);
  ++gathering_.pendingResults;
  std::int32_t p = 0;
  for (const harvestor::PropertyEntry& e : r.properties) {
    gathering_.properties.beginRow(6);
    gathering_.properties.bigint(study);
    gathering_.properties.integer(position_);
    gathering_.properties.integer(p++);
    gathering_.properties.text(e.Name);
    // An empty value is two NULLs, so that it reads back empty, not as "".
    if (e.Value.GetKind() == harvestor::Variant::Kind::Number) {
      gathering_.properties.null();
      gathering_.properties.real8(*e.Value.ToNumber());
    } else if (e.Value.IsEmpty()) {
      gathering_.properties.null();
      gathering_.properties.null();
    } else {
      gathering_.properties.text(e.Value.ToText());
      gathering_.properties.null();
    }
    ++gathering_.pendingProperties;
  }
  for (std::size_t dye = 0; dye < r.traces.size(); ++dye) {
    if (r.traces[dye].empty()) continue;
    gathering_.traces.beginRow(4);
    gathering_.traces.bigint(study);
    gathering_.traces.integer(position_);
    gathering_.traces.smallint(static_cast<std::int16_t>(dye + 1));
    gathering_.traces.text(encodeScans(r.traces[dye]));
    ++gathering_.pendingTraces;
  }
  ++position_;
  if (gathering_.results.size() + gathering_.properties.size() + gathering_.traces.size() >
      kFlushBytes) {
    flush();
  }
}

void PgStudyWriter::flush() {
  waitForSend();
  std::swap(sending_, gathering_);
  gathering_ = Batch();
  sent_ = std::async(std::launch::async, [this] { send(sending_); });
}

void PgStudyWriter::waitForSend() {
  if (sent_.valid()) sent_.get();
}

void PgStudyWriter::send(Batch& batch) {
  sendCopy(db_, "COPY harvestor.study_results FROM STDIN (FORMAT binary)", batch.results,
           batch.pendingResults);
  sendCopy(db_, "COPY harvestor.sample_properties FROM STDIN (FORMAT binary)", batch.properties,
           batch.pendingProperties);
  sendCopy(db_, "COPY harvestor.traces FROM STDIN (FORMAT binary)", batch.traces,
           batch.pendingTraces);
}

void PgStudyWriter::commit() {
  flush();
  waitForSend();
  db_.exec("COMMIT");
  open_ = false;
}

}  // namespace workstation
