#include "workstation/store/PgSchema.h"

#include <string>

#include "workstation/store/Database.h"

namespace workstation::pgschema {
namespace {

const char* const kTables = R"sql(
CREATE SCHEMA harvestor;
CREATE TABLE harvestor.meta(key text PRIMARY KEY, value text NOT NULL);
CREATE TABLE harvestor.studies(
  id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
  name text NOT NULL UNIQUE);
CREATE TABLE harvestor.study_results(
  study_id bigint NOT NULL REFERENCES harvestor.studies(id),
  position integer NOT NULL,
  name text NOT NULL,
  subject_id text NOT NULL,
  excluded boolean NOT NULL,
  analysis_revision integer NOT NULL,
  area_scale double precision NOT NULL,
  fragments bytea NOT NULL,
  PRIMARY KEY(study_id, position));
CREATE TABLE harvestor.sample_properties(
  study_id bigint NOT NULL,
  result_position integer NOT NULL,
  position integer NOT NULL,
  name text NOT NULL,
  text_value text,
  number_value double precision,
  PRIMARY KEY(study_id, result_position, position));
CREATE TABLE harvestor.traces(
  study_id bigint NOT NULL,
  result_position integer NOT NULL,
  dye smallint NOT NULL CHECK(dye BETWEEN 1 AND 4),
  scans bytea NOT NULL,
  PRIMARY KEY(study_id, result_position, dye));
)sql";

// Any fixed number: it only has to be the same in every Harvestor.
constexpr const char* kCreatorLock = "SELECT pg_advisory_xact_lock(7243106871)";

bool hasSchema(PgConnection& db) {
  return db.exec("SELECT 1 FROM pg_namespace WHERE nspname = 'harvestor'").rows() > 0;
}

}  // namespace

void check(PgConnection& db) {
  if (!hasSchema(db)) {
    throw StoreError(db.display() +
                     ": holds no Harvestor study store (harvestor init-store creates one)");
  }
  const PgResult r = db.exec("SELECT value FROM harvestor.meta WHERE key = 'schema_version'");
  const std::string version = r.rows() > 0 ? std::string(r.text(0, 0)) : "";
  if (version != std::to_string(kVersion)) {
    throw StoreError(db.display() + ": study store version " + (version.empty() ? "?" : version) +
                     " cannot be read; this Harvestor reads version " + std::to_string(kVersion));
  }
}

void createOrCheck(PgConnection& db) {
  db.exec(kCreatorLock);
  if (!hasSchema(db)) {
    db.exec(kTables);
    db.exec("INSERT INTO harvestor.meta(key, value) VALUES('schema_version', $1)",
            {std::to_string(kVersion).c_str()});
  }
  check(db);
}

}  // namespace workstation::pgschema
