#pragma once
// Everything the console and the desktop do with a study store, whichever
// engine keeps it: a SQLite study database file (the default) or a
// PostgreSQL server. A command's database argument picks the engine
// (StoreAddress); the component never sees which one it was.
//
// A store opened for reading never changes what it reads: exports need no
// more than the right to read. Messages name the store by its display
// address, never with a password.

#include <memory>
#include <string>
#include <vector>

#include "workstation/store/ImportedStudy.h"
#include "workstation/store/StoredStudy.h"

namespace workstation {

class StudyStore {
 public:
  virtual ~StudyStore() = default;

  virtual const std::string& display() const = 0;
  // Study names, in the order they were imported.
  virtual std::vector<std::string> studyNames() = 0;
  // The study of that name, read from one consistent snapshot; an empty name
  // means the store's only study.
  virtual std::shared_ptr<StoredStudy> loadStudy(const std::string& name) = 0;
  // The distinct locus names of a study's fragments, in order of first
  // appearance, without loading the study.
  virtual std::vector<std::string> studyLoci(const std::string& name) = 0;
};

// Opens the store an argument names, for reading. Throws StoreError when it
// is missing, unreachable, no study store, or of another version.
std::unique_ptr<StudyStore> openStudyStore(const std::string& argument);

// Adds the study to the store an argument names, all or nothing, in one
// transaction, creating the file or the server's schema when there is none.
// A study name already present is refused, as is a role that may only read.
void importStudy(const std::string& argument, const ImportedStudy& study);
// The same, with the results streamed from a reader into the transaction;
// whatever the source throws rolls the whole import back.
void importStudy(const std::string& argument, const std::string& name, const ResultSource& results);

// Creates the store's schema on a server (or a file) that has none; checks
// the version of one that has. Returns false when it was there already.
bool initStudyStore(const std::string& argument);

}  // namespace workstation
