#pragma once
// The few file-system calls the file writer and the log's spool make, behind one seam so that a
// test can make any of them fail (a fault-injecting subclass overrides the
// call it wants to break and forwards the rest). Every call returns 0 or the
// errno value that explains the failure.

#include <cstddef>
#include <cstdint>
#include <string>

namespace harvestor {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The real file system; the writer uses it unless told otherwise.
  static FileSystem& Real();

  // Creates a new file that did not exist and is not a link (O_EXCL, O_NOFOLLOW).
  virtual int CreateNew(const std::string& path, unsigned mode, int& fd);
  // Creates a file without a name in folder, for reading and writing: the
  // system removes it when it is closed, however the process ends (O_TMPFILE).
  // Nobody can open a file without a name, so it has the bits a new file
  // gets: it may be given a name later as a file of its own.
  virtual int CreateUnnamed(const std::string& folder, int& fd);
  // Gives an unnamed file a new name, which must not exist; fails across
  // file systems.
  virtual int LinkUnnamed(int fd, const std::string& path);
  // Another descriptor of the same open file (sharing its position).
  virtual int Duplicate(int fd, int& copy);
  // Opens an existing device or FIFO for writing, as it is.
  virtual int OpenExisting(const std::string& path, int& fd);
  // Writes every byte, retrying short writes and interruptions.
  virtual int Write(int fd, const char* data, std::size_t size);
  virtual int Sync(int fd);
  // Asks the system to start putting the bytes [offset, offset + size) of a
  // file on disk, without waiting, so that a long file's Sync finds little
  // left to write. Failures are not reported: the Sync that follows reports them.
  virtual void StartWriteback(int fd, std::int64_t offset, std::int64_t size);
  // Waits until those bytes are on disk and lets the system drop them from
  // its cache: a long export then reuses a few megabytes of cache rather
  // than claiming fresh memory for every byte it writes. Failures are not
  // reported, as above.
  virtual void Release(int fd, std::int64_t offset, std::int64_t size);
  virtual int ChangeMode(int fd, unsigned mode);
  virtual int Close(int fd);
  virtual int Rename(const std::string& from, const std::string& to);
  virtual int Remove(const std::string& path);
  // Makes a finished rename in that folder durable; failures are not reported.
  virtual void SyncFolder(const std::string& folder);
};

}  // namespace harvestor
