#pragma once
// One file in a private temporary folder that a fuzz target rewrites with
// each input, for readers that take a path. The folder is removed with the
// object.

#include <cstddef>
#include <cstdint>
#include <string>

namespace harvestor_fuzz {

class ScratchFile {
 public:
  explicit ScratchFile(const std::string& name);
  ~ScratchFile();
  ScratchFile(const ScratchFile&) = delete;
  ScratchFile& operator=(const ScratchFile&) = delete;

  // Replaces the file's content with the bytes; returns the file's path.
  const std::string& Write(const std::uint8_t* data, std::size_t size) const;
  const std::string& Write(const std::string& bytes) const {
    return Write(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
  }

 private:
  std::string folder_;
  std::string path_;
};

// Runs read; a refusal of the type given is a good outcome, anything else
// that escapes (or a sanitizer report) a fault.
template <typename Refusal, typename Read>
void Tolerating(Read read) {
  try {
    read();
  } catch (const Refusal&) {
  }
}

}  // namespace harvestor_fuzz
