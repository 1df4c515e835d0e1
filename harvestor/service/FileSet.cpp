#include "harvestor/service/FileSet.h"

#include <cerrno>
#include <utility>

namespace harvestor {

TextFileWriter& FileSet::Add(std::string path) {
  members_.push_back(std::make_unique<TextFileWriter>(std::move(path), fs_));
  return *members_.back();
}

bool FileSet::Commit() {
  bool complete = true;
  for (auto& member : members_) complete = complete && member->Finish();
  if (!complete) {
    for (auto& member : members_) member->Discard();
    return false;
  }
  bool published = true;
  for (auto& member : members_) published = published && member->Publish();
  for (auto& member : members_) member->Discard();
  return published;
}

std::string FileSet::Failure() const {
  for (const auto& member : members_) {
    const int error = member->ErrorNumber();
    if (error != 0 && error != ECANCELED) return member->Failure();
  }
  return {};
}

}  // namespace harvestor
