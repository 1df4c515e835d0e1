#include "harvestor/service/FileSystem.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

namespace harvestor {

FileSystem& FileSystem::Real() {
  // Stateless and shared by every writer; never destroyed, because the
  // export log, which closes its spool through it, lives until the very end
  // of the process.
  static FileSystem& real = *new FileSystem;
  return real;
}

int FileSystem::CreateNew(const std::string& path, unsigned mode, int& fd) {
  fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
              static_cast<mode_t>(mode));
  return fd < 0 ? errno : 0;
}

int FileSystem::CreateUnnamed(const std::string& folder, int& fd) {
  fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, static_cast<mode_t>(0666));
  return fd < 0 ? errno : 0;
}

int FileSystem::LinkUnnamed(int fd, const std::string& path) {
  // Linking the descriptor itself (AT_EMPTY_PATH) needs a privilege; its
  // name under /proc does not.
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  return ::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0 ? 0
                                                                                          : errno;
}

int FileSystem::Duplicate(int fd, int& copy) {
  copy = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
  return copy < 0 ? errno : 0;
}

int FileSystem::OpenExisting(const std::string& path, int& fd) {
  fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
  return fd < 0 ? errno : 0;
}

int FileSystem::Write(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return 0;
}

int FileSystem::Sync(int fd) { return ::fsync(fd) == 0 ? 0 : errno; }

void FileSystem::StartWriteback(int fd, std::int64_t offset, std::int64_t size) {
#ifdef SYNC_FILE_RANGE_WRITE
  ::sync_file_range(fd, static_cast<off_t>(offset), static_cast<off_t>(size),
                    SYNC_FILE_RANGE_WRITE);
#else
  (void)fd, (void)offset, (void)size;
#endif
}

void FileSystem::Release(int fd, std::int64_t offset, std::int64_t size) {
#ifdef SYNC_FILE_RANGE_WRITE
  ::sync_file_range(
      fd, static_cast<off_t>(offset), static_cast<off_t>(size),
      SYNC_FILE_RANGE_WAIT_BEFORE | SYNC_FILE_RANGE_WRITE | SYNC_FILE_RANGE_WAIT_AFTER);
#endif
  ::posix_fadvise(fd, static_cast<off_t>(offset), static_cast<off_t>(size), POSIX_FADV_DONTNEED);
}

int FileSystem::ChangeMode(int fd, unsigned mode) {
  return ::fchmod(fd, static_cast<mode_t>(mode)) == 0 ? 0 : errno;
}

int FileSystem::Close(int fd) { return ::close(fd) == 0 ? 0 : errno; }

int FileSystem::Rename(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int FileSystem::Remove(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

void FileSystem::SyncFolder(const std::string& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace harvestor
