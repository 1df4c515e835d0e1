#include "harvestor/service/LineArena.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <utility>

namespace harvestor {
namespace {
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;

std::size_t PageSize() {
  static const std::size_t page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  return page;
}
}  // namespace

std::string LineArena::DefaultSpoolFolder() {
  const char* folder = std::getenv("TMPDIR");
  return folder != nullptr && *folder != '\0' ? folder : "/tmp";
}

LineArena::LineArena() : LineArena(FileSystem::Real()) {}

LineArena::LineArena(FileSystem& fs, std::string spoolFolder)
    : fs_(&fs), spoolFolder_(std::move(spoolFolder)) {}

LineArena::~LineArena() { Close(); }

LineArena::LineArena(LineArena&& other) noexcept : fs_(other.fs_) { Swap(other); }

LineArena& LineArena::operator=(LineArena&& other) noexcept {
  // What this arena held leaves with moved, which closes it.
  LineArena moved(std::move(other));
  Swap(moved);
  return *this;
}

void LineArena::Swap(LineArena& other) noexcept {
  std::swap(fs_, other.fs_);
  std::swap(spoolFolder_, other.spoolFolder_);
  std::swap(spool_, other.spool_);
  std::swap(spoolBytes_, other.spoolBytes_);
  std::swap(spoolFirst_, other.spoolFirst_);
  std::swap(sealed_, other.sealed_);
  std::swap(spoolFailed_, other.spoolFailed_);
  std::swap(blocks_, other.blocks_);
  std::swap(firstLines_, other.firstLines_);
  std::swap(ends_, other.ends_);
  std::swap(bytes_, other.bytes_);
}

void LineArena::Close() noexcept {
  for (Block& block : blocks_) {
    if (block.mapped) ::munmap(const_cast<char*>(block.mapped), block.skip + block.size);
    block.mapped = nullptr;
  }
  if (spool_ >= 0) fs_->Close(spool_);
  spool_ = -1;
  for (const int file : sealed_) fs_->Close(file);
  sealed_.clear();
}

void LineArena::Append(std::string_view line) {
  if (line.size() > std::numeric_limits<std::uint32_t>::max()) {
    throw std::length_error("a line of more than 4 GiB");
  }
  const std::size_t stored = line.size() + kLineEnd.size();
  if (blocks_.empty() || blocks_.back().text.capacity() - blocks_.back().text.size() < stored) {
    if (!blocks_.empty()) Spool();
    std::string& block = blocks_.emplace_back().text;
    block.reserve(std::max(kBlockBytes, stored));
    firstLines_.push_back(ends_.size());
  }
  std::string& block = blocks_.back().text;
  block.append(line);
  ends_.push_back(static_cast<std::uint32_t>(block.size()));
  block.append(kLineEnd);
  bytes_ += line.size();
}

void LineArena::Spool() {
  Block& block = blocks_.back();
  if (spoolFailed_ || block.text.empty()) return;
  if (spool_ < 0) {
    if (fs_->CreateUnnamed(spoolFolder_, spool_) != 0) {
      spool_ = -1;
      spoolFailed_ = true;
      return;
    }
    spoolFirst_ = blocks_.size() - 1;
  }
  if (fs_->Write(spool_, block.text.data(), block.text.size()) != 0) {
    // What was written of this block is past every mapping and never read.
    spoolFailed_ = true;
    return;
  }
  const std::int64_t offset = spoolBytes_;
  spoolBytes_ += static_cast<std::int64_t>(block.text.size());
  const std::size_t skip = static_cast<std::size_t>(offset) % PageSize();
  void* mapped = ::mmap(nullptr, skip + block.text.size(), PROT_READ, MAP_SHARED, spool_,
                        static_cast<off_t>(offset - static_cast<std::int64_t>(skip)));
  if (mapped == MAP_FAILED) {
    spoolFailed_ = true;
    return;
  }
  // The disk starts on the block now: a spool taken as a file of its own
  // then finds little left to write when it is synced.
  fs_->StartWriteback(spool_, offset, static_cast<std::int64_t>(block.text.size()));
  block.mapped = static_cast<const char*>(mapped);
  block.skip = skip;
  block.size = block.text.size();
  block.file = spool_;
  block.offset = offset;
  std::string().swap(block.text);
}

int LineArena::SpoolFile(std::size_t& blocks, std::int64_t& bytes) const {
  if (spool_ < 0 || spoolFailed_ || spoolFirst_ != 0) return -1;
  blocks = 0;
  while (blocks < blocks_.size() && blocks_[blocks].mapped) ++blocks;
  bytes = spoolBytes_;
  return spool_;
}

void LineArena::SealSpool() const {
  if (spool_ >= 0) sealed_.push_back(spool_);
  spool_ = -1;
  spoolBytes_ = 0;
}

void LineArena::ReleaseBlock(std::size_t block) const {
  const Block& b = blocks_[block];
  if (b.mapped) ::madvise(const_cast<char*>(b.mapped), b.skip + b.size, MADV_DONTNEED);
}

std::string_view LineArena::ReadBlock(std::size_t block, std::string& buffer) const {
  const Block& b = blocks_[block];
  if (!b.mapped) return b.text;
  buffer.resize(b.size);
  std::size_t done = 0;
  while (done < b.size) {
    const ssize_t n = ::pread(b.file, buffer.data() + done, b.size - done,
                              static_cast<off_t>(b.offset + static_cast<std::int64_t>(done)));
    if (n <= 0) return BlockText(block);
    done += static_cast<std::size_t>(n);
  }
  return buffer;
}

std::size_t LineArena::BlockOf(std::size_t index) const {
  if (index >= ends_.size()) return 0;
  const auto after = std::upper_bound(firstLines_.begin(), firstLines_.end(), index);
  return static_cast<std::size_t>(after - firstLines_.begin()) - 1;
}

std::string_view LineArena::Line(std::size_t index) const {
  if (index >= ends_.size()) return {};
  const std::size_t b = BlockOf(index);
  const std::size_t begin = index == firstLines_[b] ? 0 : ends_[index - 1] + kLineEnd.size();
  return BlockText(b).substr(begin, ends_[index] - begin);
}

LineArena::Window LineArena::Lines(std::size_t first, std::size_t count) const {
  const std::size_t start = std::min(first, ends_.size());
  return Window(this, start, std::min(count, ends_.size() - start));
}

}  // namespace harvestor
