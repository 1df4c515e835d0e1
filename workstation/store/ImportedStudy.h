#pragma once
// A study as it is brought into the database: its results in study order,
// each with its sample's subject, record, traces and fragments.

#include <array>
#include <functional>
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

// A reader hands the results of a study to the sink one at a time, in study
// order, so an import holds one result at a time, not the study. A result
// need not outlive the call.
using ResultSink = std::function<void(const ImportedResult&)>;
using ResultSource = std::function<void(const ResultSink&)>;

// Adds the study to the database at path, creating the file when there is
// none. All or nothing, in one transaction: a failure leaves an existing file
// as it was, and a new file appears only once it holds the whole study.
// Imports into one database from several processes at once each land in
// turn (the later ones wait for the lock); a study name already present is
// refused. A database file is never removed.
void addStudy(const std::string& path, const ImportedStudy& study);
// The same, with the results streamed from a reader: an exception thrown by
// the source leaves the database as it was.
void addStudy(const std::string& path, const std::string& name, const ResultSource& results);
// Creates an empty study database at path, or checks the one there. True
// when it created it.
bool createStudyDatabase(const std::string& path);

}  // namespace workstation
