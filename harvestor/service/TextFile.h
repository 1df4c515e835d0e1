#pragma once
// The one writer every file of the system goes through, and the readers of
// the component's text files. Lines are written as their bytes followed by
// CR LF; Write takes blocks already formatted.
//
// A regular file is replaced only once its new content is complete and on
// disk: the writer fills a temporary file in the target's own folder, created
// under a random name (".harvestor-" and random letters, so a leftover is
// recognisable) that must not exist and is never a link, syncs it, gives it
// the permission bits of the file it replaces and renames it into place. A
// failed write leaves any previous file as it was and removes the temporary.
// A target that is a link to a file replaces the file it points to; a device
// or FIFO (/dev/null, /dev/stdout) is written directly; a folder is refused.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "harvestor/service/FileSystem.h"
#include "harvestor/service/LineArena.h"

namespace harvestor {

class TextFileWriter {
 public:
  explicit TextFileWriter(std::string path, FileSystem& fs = FileSystem::Real());
  ~TextFileWriter();  // an uncommitted write is discarded
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  bool Ok() const { return fd_ >= 0 && error_ == 0; }
  void WriteLine(std::string_view line);
  void Write(std::string_view bytes);
  // Puts the file in place; false when anything failed on the way.
  bool Commit();
  // Commit in two steps, for a set of files replaced together: Finish
  // completes the content on disk without replacing anything, Publish
  // renames it into place. Discard drops an unpublished file.
  bool Finish();
  bool Publish();
  void Discard();
  // Takes an unnamed file (FileSystem::CreateUnnamed) whose bytes, written
  // through fd and ending at its position, are the start of the content, as
  // the file being written, so that a long content already in a file is not
  // copied: what is written next follows them. Only before anything is
  // written, into a file of the target's file system; false, with nothing
  // changed, when it cannot be taken (another file system, a device): the
  // content is then written as usual. fd stays the caller's.
  bool TakeOver(int fd, std::int64_t bytes);

  const std::string& Path() const { return path_; }
  // The errno value of the first failure, 0 while none.
  int ErrorNumber() const { return error_; }
  // "PATH: reason" for the first failure, as the system reports it.
  std::string Failure() const;

 private:
  void Open();
  void Fail(int error);
  void Flush();
  void WriteOut(const char* data, std::size_t size);
  FileSystem& fs_;
  std::string path_;    // as given, for messages
  std::string target_;  // the file replaced, links followed
  std::string temp_;    // empty when written directly
  int fd_ = -1;
  int slot_ = -1;
  int error_ = 0;
  bool finished_ = false;
  std::optional<unsigned> mode_;  // permission bits of the replaced file
  std::string buffer_;
  std::int64_t written_ = 0;        // bytes handed to the file so far
  std::int64_t writebackFrom_ = 0;  // the first of them not yet sent to disk
  std::int64_t releasedTo_ = 0;     // the bytes before it are on disk and let go
};

// Writes path with what fill(writer) writes; false when the file could not
// be created or written (the previous file, if any, is then untouched).
// When failure is given it receives the writer's Failure().
template <class Fill>
bool WriteTextFile(const std::string& path, Fill fill, std::string* failure) {
  TextFileWriter writer(path);
  fill(writer);
  const bool ok = writer.Commit();
  if (!ok && failure != nullptr) *failure = writer.Failure();
  return ok;
}
// Writes every line of a range to path, as WriteTextFile.
template <class Lines>
bool WriteTextLines(const std::string& path, const Lines& lines, std::string* failure = nullptr) {
  return WriteTextFile(
      path,
      [&](TextFileWriter& writer) {
        for (const auto& line : lines) writer.WriteLine(line);
      },
      failure);
}
// The same for the lines of an arena, whose blocks already hold them with
// their line ends: each block is written as it stands, and a spooled block
// let go of once written. Where the spool holds every block but the last
// from the first line, the file is the spool itself, given a name: nothing
// is copied, and the arena starts another spool for the lines after.
inline bool WriteTextLines(const std::string& path, const LineArena& lines,
                           std::string* failure = nullptr) {
  return WriteTextFile(
      path,
      [&](TextFileWriter& writer) {
        std::size_t b = 0, spooled = 0;
        std::int64_t bytes = 0;
        const int spool = lines.SpoolFile(spooled, bytes);
        if (spool >= 0 && writer.TakeOver(spool, bytes)) {
          lines.SealSpool();
          b = spooled;
        }
        for (; b < lines.BlockCount(); ++b) {
          writer.Write(lines.BlockText(b));
          lines.ReleaseBlock(b);
        }
      },
      failure);
}

// True when a regular file (or a link to one) of that name exists.
bool FileExists(const std::string& path);
// True when a folder of that name exists.
bool FolderExists(const std::string& path);
// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
// Opens a regular file for reading and answers its length in bytes, or
// nothing when it cannot be opened (missing, a folder, no descriptor free).
std::optional<std::uintmax_t> OpenedFileLength(const std::string& path);

}  // namespace harvestor
