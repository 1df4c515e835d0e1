#pragma once
// Writing and reading the component's text files. Every line is written as
// its bytes followed by CR LF. A file is replaced only once its new content
// is complete: the writer fills a file beside it and renames it into place,
// so a failed write leaves any previous file as it was.

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>

namespace harvestor {

class TextFileWriter {
 public:
  explicit TextFileWriter(std::string path);
  ~TextFileWriter();  // an uncommitted write is discarded
  TextFileWriter(const TextFileWriter&) = delete;
  TextFileWriter& operator=(const TextFileWriter&) = delete;

  bool Ok() const { return file_ != nullptr && !failed_; }
  void WriteLine(std::string_view line);
  // Puts the file in place; false when anything failed on the way.
  bool Commit();

 private:
  void Discard();
  std::string path_;
  std::string temp_;
  std::FILE* file_ = nullptr;
  bool failed_ = false;
};

// Writes every line of a range to path; false when the file could not be
// created or written (the previous file, if any, is then untouched).
template <class Lines>
bool WriteTextLines(const std::string& path, const Lines& lines) {
  TextFileWriter writer(path);
  if (!writer.Ok()) return false;
  for (const auto& line : lines) writer.WriteLine(line);
  return writer.Commit();
}

// True when a regular file (or a link to one) of that name exists.
bool FileExists(const std::string& path);
// True when a folder of that name exists.
bool FolderExists(const std::string& path);
// The whole content of a file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

}  // namespace harvestor
