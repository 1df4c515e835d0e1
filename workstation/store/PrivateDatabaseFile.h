#pragma once
// A new study database built where no other process can see it, then put at
// its name only if that name is still free. Two imports that both find the
// name free therefore never share, remove or overwrite each other's file: the
// first to publish wins, and the other learns that it must import into the
// file that now exists.
//
// The private file lives in the target's own folder (so publishing is one
// link, never a copy) under a name that marks it as the system's own
// (".harvestor-" and random letters, ".db"). It is removed when the object
// goes away unpublished, and by the signal cleanup if the run is stopped.

#include <string>

namespace workstation {

class PrivateDatabaseFile {
 public:
  // Creates the empty private file beside target; throws StoreError naming
  // target and the system's reason when the folder cannot take it.
  explicit PrivateDatabaseFile(const std::string& target);
  ~PrivateDatabaseFile();
  PrivateDatabaseFile(const PrivateDatabaseFile&) = delete;
  PrivateDatabaseFile& operator=(const PrivateDatabaseFile&) = delete;

  const std::string& path() const { return path_; }
  // Syncs the finished file and gives it the target's name. False when
  // something took the name meanwhile (the private file is then removed);
  // throws StoreError for any other failure.
  bool publish();

 private:
  std::string target_;
  std::string path_;
  int slot_ = -1;
  bool published_ = false;
};

}  // namespace workstation
