#include "harvestor/service/TextFile.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <system_error>
#include <utility>

#include "harvestor/service/TemporaryFiles.h"

namespace harvestor {
namespace {

constexpr std::size_t kBufferSize = 1 << 20;
// A temporary file is sent to disk in steps of this many bytes as it is
// written, so that the disk works while the export goes on and the sync
// before the rename is short.
constexpr std::int64_t kWritebackStep = 8 << 20;
constexpr int kMostLinks = 40;  // as the kernel's own limit on nested links

std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Letters straight from the kernel's generator: setting up a random_device
// costs far more than the name it makes (it probes the processor), and a
// result export makes one name per file.
std::string RandomLetters(std::size_t count) {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  constexpr unsigned kChoices = sizeof kLetters - 1;
  constexpr unsigned kUnbiased = 256 / kChoices * kChoices;  // bytes below this pick evenly
  std::string letters;
  unsigned char bytes[32];
  while (letters.size() < count) {
    const ssize_t got = ::getrandom(bytes, sizeof bytes, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      std::random_device random;
      std::uniform_int_distribution<unsigned> pick(0, kChoices - 1);
      while (letters.size() < count) letters += kLetters[pick(random)];
      break;
    }
    for (ssize_t i = 0; i < got && letters.size() < count; ++i) {
      if (bytes[i] < kUnbiased) letters += kLetters[bytes[i] % kChoices];
    }
  }
  return letters;
}

// A name for a temporary file beside target, which no other is likely to have.
std::string TemporaryNameBeside(const std::string& target) {
  return FolderOf(target) + "/.harvestor-" + RandomLetters(12);
}

// Follows links at the path itself (not in its folders) to the name that is
// really written; 0 or the errno value that stops it.
int FollowLinks(std::string& path, struct stat& info, bool& exists) {
  for (int i = 0; i < kMostLinks; ++i) {
    if (::lstat(path.c_str(), &info) != 0) {
      exists = false;
      return errno == ENOENT ? 0 : errno;
    }
    exists = true;
    if (!S_ISLNK(info.st_mode)) return 0;
    std::string link(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), link.data(), link.size());
    if (n < 0) return errno;
    link.resize(static_cast<std::size_t>(n));
    path = link.starts_with('/') ? link : FolderOf(path) + "/" + link;
  }
  return ELOOP;
}

}  // namespace

TextFileWriter::TextFileWriter(std::string path, FileSystem& fs) : fs_(fs), path_(std::move(path)) {
  Open();
}

TextFileWriter::~TextFileWriter() { Discard(); }

void TextFileWriter::Open() {
  if (path_.empty()) return Fail(ENOENT);
  struct stat info {};
  if (::stat(path_.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
    if (S_ISDIR(info.st_mode)) return Fail(EISDIR);
    // Opened by the name given: /dev/stdout leads to links no path can name.
    Fail(fs_.OpenExisting(path_, fd_));
    return;
  }
  target_ = path_;
  bool exists = false;
  if (const int error = FollowLinks(target_, info, exists); error != 0) return Fail(error);
  if (!target_.empty() && target_.back() == '/') return Fail(EISDIR);
  if (exists) mode_ = static_cast<unsigned>(info.st_mode & 07777);
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string name = TemporaryNameBeside(target_);
    // Remembered before it exists: a signal that came between creating the
    // file and remembering it would leave the file behind.
    slot_ = TemporaryFiles::Add(name);
    // A new file is created as any file would be (the umask applies); one
    // that replaces another stays private until it takes that file's bits.
    const int error = fs_.CreateNew(name, exists ? 0600 : 0666, fd_);
    if (error != 0) {
      TemporaryFiles::Forget(slot_);
      slot_ = -1;
    }
    if (error == EEXIST) continue;
    if (error != 0) return Fail(error);
    temp_ = name;
    buffer_.reserve(kBufferSize);
    return;
  }
  Fail(EEXIST);
}

void TextFileWriter::Fail(int error) {
  if (error_ == 0) error_ = error;
}

void TextFileWriter::WriteOut(const char* data, std::size_t size) {
  Fail(fs_.Write(fd_, data, size));
  written_ += static_cast<std::int64_t>(size);
  if (Ok() && !temp_.empty() && written_ - writebackFrom_ >= kWritebackStep) {
    fs_.StartWriteback(fd_, writebackFrom_, written_ - writebackFrom_);
    // The step sent before this one has had a step's writing to get to disk.
    if (writebackFrom_ > releasedTo_) {
      fs_.Release(fd_, releasedTo_, writebackFrom_ - releasedTo_);
      releasedTo_ = writebackFrom_;
    }
    writebackFrom_ = written_;
  }
}

void TextFileWriter::Flush() {
  if (!Ok() || buffer_.empty()) return;
  WriteOut(buffer_.data(), buffer_.size());
  buffer_.clear();
}

void TextFileWriter::Write(std::string_view bytes) {
  if (!Ok() || finished_) return;
  // A large block goes to the file as it stands, after what is buffered:
  // copying it into the buffer first would cost more than the call saves.
  if (bytes.size() >= kBufferSize / 2) {
    Flush();
    if (Ok()) WriteOut(bytes.data(), bytes.size());
    return;
  }
  if (buffer_.size() + bytes.size() > kBufferSize) Flush();
  buffer_.append(bytes);
}

void TextFileWriter::WriteLine(std::string_view line) {
  Write(line);
  Write("\r\n");
}

bool TextFileWriter::Finish() {
  if (finished_) return error_ == 0;
  Flush();
  if (fd_ >= 0 && !temp_.empty() && error_ == 0) {
    Fail(fs_.Sync(fd_));
    if (releasedTo_ > 0 && error_ == 0) fs_.Release(fd_, releasedTo_, written_ - releasedTo_);
    if (mode_ && error_ == 0) Fail(fs_.ChangeMode(fd_, *mode_));
  }
  if (fd_ >= 0) {
    const int closed = fs_.Close(fd_);
    fd_ = -1;
    Fail(closed);
  }
  finished_ = true;
  if (error_ != 0) {
    Discard();
    return false;
  }
  return true;
}

bool TextFileWriter::Publish() {
  if (!finished_ || error_ != 0) return false;
  if (temp_.empty()) return true;
  if (const int error = fs_.Rename(temp_, target_); error != 0) {
    Fail(error);
    Discard();
    return false;
  }
  TemporaryFiles::Forget(slot_);
  slot_ = -1;
  temp_.clear();
  fs_.SyncFolder(FolderOf(target_));
  return true;
}

bool TextFileWriter::TakeOver(int fd, std::int64_t bytes) {
  if (!Ok() || finished_ || temp_.empty() || written_ != 0 || !buffer_.empty()) return false;
  // The unnamed file is linked under a name of its own and then renamed over
  // the empty temporary, so that the writer's temporary name never lacks a file.
  const std::string name = TemporaryNameBeside(target_);
  const int slot = TemporaryFiles::Add(name);
  int copy = -1;
  bool taken = fs_.LinkUnnamed(fd, name) == 0;
  if (taken && (fs_.Duplicate(fd, copy) != 0 || fs_.Rename(name, temp_) != 0)) {
    if (copy >= 0) fs_.Close(copy);
    fs_.Remove(name);
    taken = false;
  }
  TemporaryFiles::Forget(slot);
  if (!taken) return false;
  fs_.Close(fd_);
  fd_ = copy;
  written_ = writebackFrom_ = bytes;
  return true;
}

bool TextFileWriter::Commit() { return Finish() && Publish(); }

void TextFileWriter::Discard() {
  if (fd_ < 0 && temp_.empty()) return;
  if (fd_ >= 0) {
    fs_.Close(fd_);
    fd_ = -1;
  }
  if (!temp_.empty()) {
    fs_.Remove(temp_);
    TemporaryFiles::Forget(slot_);
    slot_ = -1;
    temp_.clear();
  }
  finished_ = true;
  Fail(ECANCELED);
}

std::string TextFileWriter::Failure() const {
  if (error_ == 0) return {};
  return path_ + ": " + std::strerror(error_);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(path, ec);
}

bool FolderExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(path, ec);
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return std::nullopt;
  return content;
}

std::optional<std::uintmax_t> OpenedFileLength(const std::string& path) {
  // Non-blocking, so that a FIFO put in the file's place cannot stall the caller.
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  if (!regular) return std::nullopt;
  return static_cast<std::uintmax_t>(st.st_size);
}

}  // namespace harvestor
