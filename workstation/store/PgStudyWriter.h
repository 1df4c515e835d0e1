#pragma once
// Adds one study to a PostgreSQL study store, result by result, in one
// transaction: rows are gathered in binary COPY buffers of a few megabytes
// and sent as each fills, so memory stays flat however large the study.
// Nothing is visible to other sessions until commit(); destroying the
// writer uncommitted rolls everything back.

#include <cstdint>
#include <string>

#include "workstation/store/ImportedStudy.h"
#include "workstation/store/PgConnection.h"
#include "workstation/store/PgCopyRows.h"

namespace workstation {

class PgStudyWriter {
 public:
  // Begins the transaction, creating the store's schema when the server has
  // none; refuses a study name already present (waiting for a concurrent
  // import of the same name to end first) and a role that may not write.
  PgStudyWriter(PgConnection& db, const std::string& studyName);
  ~PgStudyWriter();
  PgStudyWriter(const PgStudyWriter&) = delete;
  PgStudyWriter& operator=(const PgStudyWriter&) = delete;

  void add(const ImportedResult& result);
  void commit();

 private:
  void start();
  void flush();
  void rollback();

  PgConnection& db_;
  std::string studyName_;
  std::string studyId_;
  std::int32_t position_ = 0;
  bool open_ = false;
  PgCopyRows results_, properties_, traces_;
  std::size_t pendingResults_ = 0, pendingProperties_ = 0, pendingTraces_ = 0;
  std::string pack_;
};

}  // namespace workstation
