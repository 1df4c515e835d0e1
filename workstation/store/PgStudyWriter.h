#pragma once
// Adds one study to a PostgreSQL study store, result by result, in one
// transaction: rows are gathered in binary COPY buffers of a few megabytes
// and sent as each fills, so memory stays flat however large the study. A
// batch is sent on a second thread while the next is gathered, so the
// reading of the tables and the server's storing of the rows overlap; the
// connection is used by one thread at a time.
// Nothing is visible to other sessions until commit(); destroying the
// writer uncommitted rolls everything back.

#include <cstdint>
#include <future>
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
  // One batch's rows of each table, and how many each holds.
  struct Batch {
    PgCopyRows results, properties, traces;
    std::size_t pendingResults = 0, pendingProperties = 0, pendingTraces = 0;
  };

  void start();
  // Sends the rows gathered, on the second thread, after the batch before.
  void flush();
  // Waits for the batch being sent; its failure is raised here.
  void waitForSend();
  void send(Batch& batch);
  void rollback();

  PgConnection& db_;
  std::string studyName_;
  std::string studyId_;
  std::int32_t position_ = 0;
  bool open_ = false;
  Batch gathering_;
  Batch sending_;
  std::future<void> sent_;  // sends sending_
  std::string pack_;
};

}  // namespace workstation
