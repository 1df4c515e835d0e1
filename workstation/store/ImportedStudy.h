#pragma once
// A study as it is brought into the database: its results in study order,
// each with its sample's subject, record, traces and fragments.

#include <array>
#include <string>
#include <vector>

#include "harvestor/service/StudyObjects.h"
#include "workstation/store/StoredStudy.h"

namespace workstation {

struct ImportedResult {
  std::string name;  // trailing blanks kept
  std::string subjectId;
  bool excluded = false;  // the study result's flag
  std::int32_t analysisRevision = 2;
  double areaScale = 1;
  std::vector<harvestor::PropertyEntry> properties;
  std::array<std::vector<float>, 4> traces;
  std::vector<StoredFragment> fragments;
};

struct ImportedStudy {
  std::string name;
  std::vector<ImportedResult> results;
};

// Adds the study to the database at path, creating the file when there is
// none. All or nothing, in one transaction: a failure leaves an existing file
// as it was, and a new file appears only once it holds the whole study.
// Imports into one database from several processes at once each land in
// turn (the later ones wait for the lock); a study name already present is
// refused. A database file is never removed.
void addStudy(const std::string& path, const ImportedStudy& study);
// Creates an empty study database at path, or checks the one there. True
// when it created it.
bool createStudyDatabase(const std::string& path);

}  // namespace workstation
