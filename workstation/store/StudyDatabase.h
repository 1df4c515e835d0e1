#pragma once
// Opens a study database for export: read-only, so no export can change it.
// Loading a study reads its results, records and fragments in one pass each,
// with prepared statements, whatever the study's size.

#include <memory>
#include <string>
#include <vector>

#include "workstation/store/StoredStudy.h"

namespace workstation {

class Database;

class StudyDatabase {
 public:
  // Throws StoreError naming the file when it is missing, no study database,
  // or of another version.
  explicit StudyDatabase(const std::string& path);
  ~StudyDatabase();

  std::vector<std::string> studyNames();
  // The study of that name; an empty name means the file's only study.
  std::shared_ptr<StoredStudy> loadStudy(const std::string& name);
  // The distinct locus names of a study's fragments, in order of first appearance.
  std::vector<std::string> studyLoci(const std::string& name);

 private:
  std::int64_t studyId(const std::string& name, std::string* resolvedName);

  std::shared_ptr<Database> db_;
};

// The distinct locus names of the study with that id, in order of first appearance.
std::vector<std::string> currentLoci(Database& db, std::int64_t studyId);

}  // namespace workstation
