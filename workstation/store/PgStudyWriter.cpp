#include "workstation/store/PgStudyWriter.h"

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
  rows = PgCopyRows();
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
  results_.beginRow(8);
  results_.bigint(study);
  results_.integer(position_);
  results_.text(r.name);
  results_.text(r.subjectId);
  results_.boolean(r.excluded);
  results_.integer(r.analysisRevision);
  results_.real8(r.areaScale);
  results_.text(pack_);
  ++pendingResults_;
  std::int32_t p = 0;
  for (const harvestor::PropertyEntry& e : r.properties) {
    properties_.beginRow(6);
    properties_.bigint(study);
    properties_.integer(position_);
    properties_.integer(p++);
    properties_.text(e.Name);
    // An empty value is two NULLs, so that it reads back empty, not as "".
    if (e.Value.GetKind() == harvestor::Variant::Kind::Number) {
      properties_.null();
      properties_.real8(*e.Value.ToNumber());
    } else if (e.Value.IsEmpty()) {
      properties_.null();
      properties_.null();
    } else {
      properties_.text(e.Value.ToText());
      properties_.null();
    }
    ++pendingProperties_;
  }
  for (std::size_t dye = 0; dye < r.traces.size(); ++dye) {
    if (r.traces[dye].empty()) continue;
    traces_.beginRow(4);
    traces_.bigint(study);
    traces_.integer(position_);
    traces_.smallint(static_cast<std::int16_t>(dye + 1));
    traces_.text(encodeScans(r.traces[dye]));
    ++pendingTraces_;
  }
  ++position_;
  if (results_.size() + properties_.size() + traces_.size() > kFlushBytes) flush();
}

void PgStudyWriter::flush() {
  sendCopy(db_, "COPY harvestor.study_results FROM STDIN (FORMAT binary)", results_,
           pendingResults_);
  sendCopy(db_, "COPY harvestor.sample_properties FROM STDIN (FORMAT binary)", properties_,
           pendingProperties_);
  sendCopy(db_, "COPY harvestor.traces FROM STDIN (FORMAT binary)", traces_, pendingTraces_);
}

void PgStudyWriter::commit() {
  flush();
  db_.exec("COMMIT");
  open_ = false;
}

}  // namespace workstation
