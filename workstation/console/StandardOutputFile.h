#pragma once
// A file an export writes so that it can be sent to standard output: the
// component writes files by name, and a pipe or terminal has none that a
// file can be renamed onto. The file lives in the temporary folder, is
// removed by a signal's clean-up while it exists, and is removed when this
// object goes.

#include <iosfwd>
#include <string>

namespace workstation::console {

class StandardOutputFile {
 public:
  // extension: the one the export's name needs (".csv").
  explicit StandardOutputFile(const std::string& extension);
  ~StandardOutputFile();
  StandardOutputFile(const StandardOutputFile&) = delete;
  StandardOutputFile& operator=(const StandardOutputFile&) = delete;

  const std::string& path() const { return path_; }
  // Copies the file, as written, to out. Answers its bytes, or -1 when the
  // file cannot be read or out fails.
  long long copyTo(std::ostream& out) const;

 private:
  std::string path_;
  int slot_ = -1;
};

}  // namespace workstation::console
