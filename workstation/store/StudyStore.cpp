#include "workstation/store/StudyStore.h"

#include "workstation/store/Database.h"
#include "workstation/store/PgSchema.h"
#include "workstation/store/PgStudyStore.h"
#include "workstation/store/PgStudyWriter.h"
#include "workstation/store/StudyDatabase.h"

namespace workstation {

std::unique_ptr<StudyStore> openStudyStore(const std::string& argument) {
  const StoreAddress address = parseStoreAddress(argument);
  if (address.engine == StoreAddress::Engine::PostgreSQL) {
    return std::make_unique<PgStudyStore>(address);
  }
  return std::make_unique<StudyDatabase>(address.location);
}

void importStudy(const std::string& argument, const ImportedStudy& study) {
  importStudy(argument, study.name, [&](const ResultSink& add) {
    for (const ImportedResult& result : study.results) add(result);
  });
}

void importStudy(const std::string& argument, const std::string& name,
                 const ResultSource& results) {
  const StoreAddress address = parseStoreAddress(argument);
  if (address.engine == StoreAddress::Engine::SQLite) {
    addStudy(address.location, name, results);
    return;
  }
  PgConnection db(address);
  PgStudyWriter writer(db, name);
  results([&](const ImportedResult& result) { writer.add(result); });
  writer.commit();
}

bool initStudyStore(const std::string& argument) {
  const StoreAddress address = parseStoreAddress(argument);
  if (address.engine == StoreAddress::Engine::SQLite) {
    return createStudyDatabase(address.location);
  }
  PgConnection db(address);
  db.exec("BEGIN");
  try {
    const bool had = db.exec("SELECT 1 FROM pg_namespace WHERE nspname = 'harvestor'").rows() > 0;
    pgschema::createOrCheck(db);
    db.exec("COMMIT");
    return !had;
  } catch (...) {
    try {
      db.exec("ROLLBACK");
    } catch (const StoreError&) {
      // The connection is gone: the server has rolled back already.
    }
    throw;
  }
}

}  // namespace workstation
