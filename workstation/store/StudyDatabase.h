#pragma once
// A SQLite study database file as a study store, opened read-only so that no
// export can change it. Loading a study reads its results and records in one
// pass each, with prepared statements, inside one read transaction: an import
// that lands meanwhile is not seen. Fragments are read later, a window of
// results at a time in the study's order, by one prepared statement; a
// study never changes once imported, so they agree with that snapshot.

#include <memory>
#include <string>
#include <vector>

#include "workstation/store/StudyStore.h"

namespace workstation {

class Database;

class StudyDatabase final : public StudyStore {
 public:
  // Throws StoreError naming the file when it is missing, no study database,
  // or of another version.
  explicit StudyDatabase(const std::string& path);
  ~StudyDatabase() override;

  const std::string& display() const override;
  std::vector<std::string> studyNames() override;
  std::shared_ptr<StoredStudy> loadStudy(const std::string& name) override;
  std::vector<std::string> studyLoci(const std::string& name) override;

 private:
  std::int64_t studyId(const std::string& name, std::string* resolvedName);

  std::shared_ptr<Database> db_;
};

// The distinct locus names of the study with that id, in order of first appearance.
std::vector<std::string> currentLoci(Database& db, std::int64_t studyId);

}  // namespace workstation
