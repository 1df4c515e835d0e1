#include "tests/fuzz/ScratchFile.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <vector>

namespace harvestor_fuzz {

ScratchFile::ScratchFile(const std::string& name) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/.harvestor-fuzz-XXXXXX";
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) throw std::runtime_error("cannot create a folder for " + name);
  folder_ = buffer.data();
  path_ = folder_ + "/" + name;
}

ScratchFile::~ScratchFile() {
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

const std::string& ScratchFile::Write(const std::uint8_t* data, std::size_t size) const {
  std::FILE* file = std::fopen(path_.c_str(), "wb");
  if (!file || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
    std::perror(path_.c_str());
    std::abort();
  }
  return path_;
}

}  // namespace harvestor_fuzz
