#include "workstation/store/Schema.h"

#include <string>

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
  UNIQUE(study_id, position));
CREATE TABLE fragments(
  study_result_id INTEGER NOT NULL REFERENCES study_results(id),
  position INTEGER NOT NULL,
  locus TEXT NOT NULL,
  allele_id TEXT NOT NULL,
  comment TEXT NOT NULL,
  condition_code INTEGER NOT NULL,
  excluded INTEGER NOT NULL,
  dye INTEGER NOT NULL,
  fragment_size REAL NOT NULL,
  peak_height REAL NOT NULL,
  peak_area REAL NOT NULL,
  area_divisor REAL NOT NULL,
  PRIMARY KEY(study_result_id, position)) WITHOUT ROWID;
)sql";

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
    isStudyDatabase = false;  // not a database at all
  }
  if (!isStudyDatabase) throw StoreError(db.path() + ": not a Harvestor study database");
  Statement q(db, "SELECT value FROM harvestor_meta WHERE key='schema_version'");
  const std::string version = q.step() ? q.text(0) : "";
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
    check(db);
    return;
  }
  db.exec(kTables);
  db.exec("INSERT INTO harvestor_meta(key, value) VALUES('schema_version', '" +
          std::to_string(kVersion) + "')");
}

}  // namespace workstation::schema
