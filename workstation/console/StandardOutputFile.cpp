#include "workstation/console/StandardOutputFile.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <ostream>

#include "harvestor/service/TemporaryFiles.h"

namespace workstation::console {

StandardOutputFile::StandardOutputFile(const std::string& extension) {
  std::error_code ec;
  std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  if (ec) folder = "/tmp";
  // One per process at a time: a file of that name left by a process gone
  // is simply written over.
  path_ = (folder / (".harvestor-stdout-" + std::to_string(::getpid()) + extension)).string();
  // Remembered before the export creates it, so a signal never leaves it.
  slot_ = harvestor::TemporaryFiles::Add(path_);
}

StandardOutputFile::~StandardOutputFile() {
  std::error_code ec;
  std::filesystem::remove(path_, ec);
  harvestor::TemporaryFiles::Forget(slot_);
}

long long StandardOutputFile::copyTo(std::ostream& out) const {
  std::ifstream in(path_, std::ios::binary);
  if (!in) return -1;
  long long bytes = 0;
  char block[1 << 16];
  while (in.read(block, sizeof block) || in.gcount() > 0) {
    out.write(block, in.gcount());
    bytes += in.gcount();
    if (!out) return -1;
  }
  out.flush();
  return out ? bytes : -1;
}

}  // namespace workstation::console
