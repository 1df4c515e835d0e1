#pragma once
// Files replaced together: each member is written to its own temporary file,
// and only when every member is complete on disk are they renamed into
// place, so a failure leaves the previous set whole and removes every
// temporary file. The renames themselves come last, one after another, in
// folders the temporaries were already created in.

#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/FileSystem.h"
#include "harvestor/service/TextFile.h"

namespace harvestor {

class FileSet {
 public:
  explicit FileSet(FileSystem& fs = FileSystem::Real()) : fs_(fs) {}
  // A member to fill; the reference stays valid as long as the set.
  TextFileWriter& Add(std::string path);
  // Replaces every member, or none; false when anything failed.
  bool Commit();
  // The first member's failure ("PATH: reason"), empty when none.
  std::string Failure() const;

 private:
  FileSystem& fs_;
  std::vector<std::unique_ptr<TextFileWriter>> members_;
};

}  // namespace harvestor
