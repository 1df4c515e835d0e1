#pragma once
// A study store on a PostgreSQL server. A study is loaded from one
// REPEATABLE READ, read-only snapshot, its rows streamed as the server sends
// them (never a whole result in memory), in the order SQLite reads them, so an export
// sees no half of an import that runs meanwhile and its files are the same
// byte for byte as from a SQLite file holding the same study; the sample
// properties are read meanwhile on a second connection that imports the same
// snapshot, so two server processes send the study at once. Fragment data,
// which never changes once imported, is read later a window ahead of the
// export, on a second connection. Reading needs only the right to SELECT.

#include <memory>

#include "workstation/store/PgConnection.h"
#include "workstation/store/StudyStore.h"

namespace workstation {

class PgStudyStore final : public StudyStore {
 public:
  // Connects and checks the server's store version; throws StoreError.
  explicit PgStudyStore(const StoreAddress& address);

  const std::string& display() const override { return db_->display(); }
  std::vector<std::string> studyNames() override;
  std::shared_ptr<StoredStudy> loadStudy(const std::string& name) override;
  std::vector<std::string> studyLoci(const std::string& name) override;

 private:
  std::int64_t studyId(const std::string& name, std::string* resolvedName);

  std::shared_ptr<PgConnection> db_;
  StoreAddress address_;  // for the fragment reads' own connection
};

}  // namespace workstation
