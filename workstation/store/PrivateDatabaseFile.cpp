#include "workstation/store/PrivateDatabaseFile.h"

#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "harvestor/service/TemporaryFiles.h"
#include "workstation/store/Database.h"

namespace workstation {
namespace {

std::string folderOf(const std::string& target) {
  const std::string folder = std::filesystem::path(target).parent_path().string();
  return folder.empty() ? "." : folder;
}

[[noreturn]] void failWith(const std::string& target, const char* what, int error) {
  throw StoreError(target + ": " + what + ": " + std::strerror(error));
}

void syncFile(const std::string& path, const std::string& target) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) failWith(target, "cannot sync the new database", errno);
  const int rc = ::fsync(fd);
  const int error = errno;
  ::close(fd);
  if (rc != 0) failWith(target, "cannot sync the new database", error);
}

void syncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

// Gives path the name target unless target exists: 0, EEXIST or the reason.
int placeWithoutReplacing(const std::string& path, const std::string& target) {
  if (::renameat2(AT_FDCWD, path.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
    return 0;
  }
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return errno;
  // A file system without the no-replace rename: a hard link is just as
  // exclusive, and the private name is dropped after it.
  if (::link(path.c_str(), target.c_str()) != 0) return errno;
  ::unlink(path.c_str());
  return 0;
}

}  // namespace

PrivateDatabaseFile::PrivateDatabaseFile(const std::string& target) : target_(target) {
  std::string name = folderOf(target) + "/.harvestor-XXXXXXXXXXXX.db";
  // No signal may come between creating the file and remembering it, or the
  // file would be left behind.
  sigset_t all, previous;
  sigfillset(&all);
  pthread_sigmask(SIG_BLOCK, &all, &previous);
  const int fd = ::mkostemps(name.data(), 3, O_CLOEXEC);
  const int error = errno;
  if (fd >= 0) slot_ = harvestor::TemporaryFiles::Add(name);
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  if (fd < 0) failWith(target_, "cannot create the database", error);
  ::close(fd);
  path_ = name;
}

PrivateDatabaseFile::~PrivateDatabaseFile() {
  if (!published_) {
    ::unlink(path_.c_str());
    // SQLite's journal, left only when the build was interrupted mid-write.
    ::unlink((path_ + "-journal").c_str());
  }
  harvestor::TemporaryFiles::Forget(slot_);
}

bool PrivateDatabaseFile::publish() {
  syncFile(path_, target_);
  const int rc = placeWithoutReplacing(path_, target_);
  if (rc == EEXIST) return false;
  if (rc != 0) failWith(target_, "cannot create the database", rc);
  published_ = true;
  syncFolder(folderOf(target_));
  return true;
}

}  // namespace workstation
