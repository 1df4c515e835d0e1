#include "harvestor/service/TextFile.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <utility>

namespace harvestor {

TextFileWriter::TextFileWriter(std::string path) : path_(std::move(path)) {
  temp_ = path_ + ".part" + std::to_string(::getpid());
  file_ = std::fopen(temp_.c_str(), "wb");
  if (file_ != nullptr) std::setvbuf(file_, nullptr, _IOFBF, 1 << 16);
}

TextFileWriter::~TextFileWriter() { Discard(); }

void TextFileWriter::WriteLine(std::string_view line) {
  if (!Ok()) return;
  if (std::fwrite(line.data(), 1, line.size(), file_) != line.size() ||
      std::fwrite("\r\n", 1, 2, file_) != 2) {
    failed_ = true;
  }
}

bool TextFileWriter::Commit() {
  if (!Ok()) {
    Discard();
    return false;
  }
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  if (!closed || std::rename(temp_.c_str(), path_.c_str()) != 0) {
    std::remove(temp_.c_str());
    return false;
  }
  return true;
}

void TextFileWriter::Discard() {
  if (file_ == nullptr) return;
  std::fclose(file_);
  file_ = nullptr;
  std::remove(temp_.c_str());
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

}  // namespace harvestor
