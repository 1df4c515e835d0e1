#include "workstation/store/Schema.h"

#include <string>
#include <vector>

#include "workstation/store/FragmentPack.h"

namespace workstation::schema {
namespace {

const char* const kTables = R"sql(
CREATE TABLE harvestor_meta(key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE studies(id INTEGER PRIMARY KEY, name TEXT NOT NULL UNIQUE);
CREATE TABLE samples(
  id INTEGER PRIMARY KEY,
  subject_id TEXT NOT NULL,
  analysis_revision INTEGER NOT NULL,
  area_scale REAL NOT NULL);
CREATE TABLE sample_properties(
  sample_id INTEGER NOT NULL REFERENCES samples(id),
  position INTEGER NOT NULL,
  name TEXT NOT NULL,
  text_value TEXT,
  number_value REAL,
  PRIMARY KEY(sample_id, position));
CREATE TABLE traces(
  sample_id INTEGER NOT NULL REFERENCES samples(id),
  dye INTEGER NOT NULL CHECK(dye BETWEEN 1 AND 4),
  scans BLOB NOT NULL,
  PRIMARY KEY(sample_id, dye));
CREATE TABLE results(
  id INTEGER PRIMARY KEY,
  name TEXT NOT NULL,
  sample_id INTEGER NOT NULL REFERENCES samples(id));
CREATE TABLE study_results(
  id INTEGER PRIMARY KEY,
  study_id INTEGER NOT NULL REFERENCES studies(id),
  result_id INTEGER NOT NULL REFERENCES results(id),
  position INTEGER NOT NULL,
  excluded INTEGER NOT NULL,
  fragments BLOB NOT NULL,
  UNIQUE(study_id, position));
)sql";

std::string storedVersion(Database& db) {
  Statement q(db, "SELECT value FROM harvestor_meta WHERE key='schema_version'");
  return q.step() ? q.text(0) : "";
}

// Version 1 kept a row per fragment; version 2 keeps each study result's
// fragments packed in its own row, which is a fiftieth of the rows to write
// and read. The upgrade runs in the caller's write transaction, so a file is
// either upgraded whole or left as it was.
void upgradeFromVersion1(Database& db) {
  std::string pack;
  db.exec("ALTER TABLE study_results ADD COLUMN fragments BLOB NOT NULL DEFAULT x''");
  Statement rows(
      db,
      "SELECT study_result_id, locus, allele_id, comment, condition_code, excluded, dye, "
      "fragment_size, peak_height, peak_area, area_divisor FROM fragments "
      "ORDER BY study_result_id, position");
  Statement put(db, "UPDATE study_results SET fragments = ? WHERE id = ?");
  std::vector<harvestor::FragmentRecord> fragments;
  std::int64_t current = -1;
  const auto flush = [&] {
    if (current < 0) return;
    pack.clear();
    encodeFragments(fragments, pack);
    put.bindBlob(1, pack.data(), pack.size()).bind(2, current).run();
    fragments.clear();
  };
  while (rows.step()) {
    if (rows.integer(0) != current) {
      flush();
      current = rows.integer(0);
    }
    harvestor::FragmentRecord& f = fragments.emplace_back();
    f.locus = rows.text(1);
    f.alleleId = rows.text(2);
    f.comment = rows.text(3);
    f.conditionCode = static_cast<std::int32_t>(rows.integer(4));
    f.excluded = rows.integer(5) != 0;
    f.dye = static_cast<std::int16_t>(rows.integer(6));
    f.size = static_cast<float>(rows.real(7));
    f.height = static_cast<float>(rows.real(8));
    f.area = static_cast<float>(rows.real(9));
    f.divisor = static_cast<float>(rows.real(10));
  }
  flush();
  pack.clear();
  encodeFragments({}, pack);
  Statement empty(db, "UPDATE study_results SET fragments = ? WHERE fragments = x''");
  empty.bindBlob(1, pack.data(), pack.size()).run();
  db.exec("DROP TABLE fragments");
  db.exec("UPDATE harvestor_meta SET value = '" + std::to_string(kVersion) +
          "' WHERE key = 'schema_version'");
}

bool hasTable(Database& db, const char* name) {
  Statement q(db, "SELECT 1 FROM sqlite_master WHERE type='table' AND name=?");
  q.bind(1, std::string_view(name));
  return q.step();
}

}  // namespace

void check(Database& db) {
  bool isStudyDatabase = false;
  try {
    isStudyDatabase = hasTable(db, "harvestor_meta");
  } catch (const StoreError&) {
    // Not a database at all; any other failure (a file locked or unreadable)
    // says what it is itself.
    if (sqlite3_errcode(db.handle()) != SQLITE_NOTADB) throw;
  }
  if (!isStudyDatabase) throw StoreError(db.path() + ": not a Harvestor study database");
  const std::string version = storedVersion(db);
  if (version == "1") {
    throw StoreError(db.path() + ": study database version 1 is older than this Harvestor reads (" +
                     std::to_string(kVersion) + "); 'harvestor init-store " + db.path() +
                     "' upgrades it");
  }
  if (version != std::to_string(kVersion)) {
    throw StoreError(db.path() + ": study database version " + (version.empty() ? "?" : version) +
                     " cannot be read; this Harvestor reads version " + std::to_string(kVersion));
  }
}

void createOrCheck(Database& db) {
  bool empty = false;
  try {
    Statement q(db, "SELECT count(*) FROM sqlite_master");
    empty = q.step() && q.integer(0) == 0;
  } catch (const StoreError&) {
    throw StoreError(db.path() + ": not a Harvestor study database");
  }
  if (!empty) {
    if (hasTable(db, "harvestor_meta") && storedVersion(db) == "1") upgradeFromVersion1(db);
    check(db);
    return;
  }
  db.exec(kTables);
  db.exec("INSERT INTO harvestor_meta(key, value) VALUES('schema_version', '" +
          std::to_string(kVersion) + "')");
}

}  // namespace workstation::schema
