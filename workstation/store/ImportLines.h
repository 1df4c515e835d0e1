#pragma once
// The lines of an import file, read one at a time, for the readers of the
// formats that are not tables of ours (allele calls, Genepop, Linkage). A
// byte-order mark before the first line is skipped; a line ends at LF or at
// CR LF. Memory holds one line, however long the file. Every failure names
// the file and the line.

#include <fstream>
#include <string>
#include <string_view>

namespace workstation {

class ImportLines {
 public:
  // Throws ImportError when the file cannot be opened.
  explicit ImportLines(const std::string& path);

  // Reads the next line; false at the end of the file. Throws ImportError
  // when the file cannot be read on.
  bool next();
  const std::string& line() const { return line_; }
  // The current line's number, from 1.
  int number() const { return number_; }
  const std::string& path() const { return path_; }

  // "PATH:LINE: what", for the current line or another one.
  [[noreturn]] void fail(const std::string& what) const;
  [[noreturn]] void fail(int line, const std::string& what) const;
  // Refuses text holding a control character or bytes that are not UTF-8,
  // naming where it stands ("column 3 (locus D2)") and the byte.
  void checkText(std::string_view text, const std::string& where) const;

 private:
  std::string path_;
  std::ifstream in_;
  std::string line_;
  int number_ = 0;
};

}  // namespace workstation
