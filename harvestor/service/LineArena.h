#pragma once
// Lines of text kept in blocks: the bytes of every line one after another,
// each followed by CR LF, in blocks of a megabyte (a longer line has a block
// of its own), and a table of where each line ends in its block. The blocks
// are the lines as a text file holds them, written out without a copy. A
// line costs its bytes and six more, and adding one takes amortised constant
// time however many lines there are.
//
// Only the block being filled is held in memory. A filled block is written
// to an unnamed file in the spool folder (the system's temporary folder
// unless told otherwise), which the system removes when the arena closes it,
// and is read back from there through a mapping, so that a log of ten
// million lines costs the process a megabyte rather than its size. Where the
// file cannot be made or written, blocks simply stay in memory: no line is
// ever lost. Lines are only ever added, never changed or removed, so an
// index into the lines stays valid as long as the arena; a view of a line
// is good until the next Append moves its block to the spool, and once
// lines stop being added, as long as the arena.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "harvestor/service/FileSystem.h"

namespace harvestor {

class LineArena {
 public:
  // Walks the lines in order without looking up each line's block again.
  class const_iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = std::string_view;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = std::string_view;
    const_iterator() = default;
    const_iterator(const LineArena* lines, std::size_t index)
        : lines_(lines), index_(index), block_(lines ? lines->BlockOf(index) : 0) {}
    std::string_view operator*() const {
      const std::size_t begin =
          index_ == lines_->firstLines_[block_] ? 0 : lines_->ends_[index_ - 1] + kLineEnd.size();
      return lines_->BlockText(block_).substr(begin, lines_->ends_[index_] - begin);
    }
    // A walk lets go of each spooled block it leaves (see ReleaseBlock), so
    // walking the whole log keeps a block of it in the process at a time.
    const_iterator& operator++() {
      ++index_;
      if (block_ + 1 < lines_->firstLines_.size() && index_ == lines_->firstLines_[block_ + 1]) {
        lines_->ReleaseBlock(block_);
        ++block_;
      }
      return *this;
    }
    const_iterator operator++(int) {
      const_iterator was = *this;
      ++*this;
      return was;
    }
    bool operator==(const const_iterator& other) const { return index_ == other.index_; }

   private:
    const LineArena* lines_ = nullptr;
    std::size_t index_ = 0;
    std::size_t block_ = 0;  // the block holding line index_
  };

  // The lines [First(), First() + Count()) of an arena, read in place.
  class Window {
   public:
    Window() = default;
    Window(const LineArena* lines, std::size_t first, std::size_t count)
        : lines_(lines), first_(first), count_(count) {}
    std::size_t First() const { return first_; }
    std::size_t Count() const { return count_; }
    bool Empty() const { return count_ == 0; }
    // The window's line at offset (below Count()): the arena's line First() + offset.
    std::string_view Line(std::size_t offset) const { return lines_->Line(first_ + offset); }
    const_iterator begin() const { return {lines_, first_}; }
    const_iterator end() const { return {lines_, first_ + count_}; }

   private:
    const LineArena* lines_ = nullptr;
    std::size_t first_ = 0;
    std::size_t count_ = 0;
  };

  // How every line ends in a block.
  static constexpr std::string_view kLineEnd = "\r\n";
  // The folder filled blocks go to by default: $TMPDIR, else /tmp.
  static std::string DefaultSpoolFolder();

  LineArena();
  explicit LineArena(FileSystem& fs, std::string spoolFolder = DefaultSpoolFolder());
  ~LineArena();
  LineArena(LineArena&& other) noexcept;
  LineArena& operator=(LineArena&& other) noexcept;
  LineArena(const LineArena&) = delete;
  LineArena& operator=(const LineArena&) = delete;

  void Append(std::string_view line);
  std::size_t Count() const { return ends_.size(); }
  // The blocks in order: together, every line followed by kLineEnd.
  std::size_t BlockCount() const { return blocks_.size(); }
  std::string_view BlockText(std::size_t block) const {
    const Block& b = blocks_[block];
    return b.mapped ? std::string_view(b.mapped + b.skip, b.size) : std::string_view(b.text);
  }
  // Whether a block is held in the spool file rather than in memory.
  bool Spooled(std::size_t block) const { return blocks_[block].mapped != nullptr; }
  // Lets the system take back the memory a spooled block's text took in the
  // process when it was read; it is read from the file again when next
  // used, so views of its lines stay valid. Nothing for a block in memory.
  void ReleaseBlock(std::size_t block) const;
  // The spool file when it holds the blocks [0, blocks) and nothing else,
  // bytes long, and no block was refused by it: what a file writer may take
  // as the start of the lines' file (TextFileWriter::TakeOver). -1 when there
  // is none.
  int SpoolFile(std::size_t& blocks, std::int64_t& bytes) const;
  // The spool file has become a file of its own: later blocks go to a new
  // spool. The blocks in it stay readable.
  void SealSpool() const;
  // The bytes of all lines together, without line ends.
  std::size_t Bytes() const { return bytes_; }
  // The line at index, exactly as appended; empty past the last line.
  std::string_view Line(std::size_t index) const;
  // The lines [first, first + count), cut short at the last line.
  Window Lines(std::size_t first, std::size_t count) const;

  const_iterator begin() const { return {this, 0}; }
  const_iterator end() const { return {this, ends_.size()}; }

  // Calls f(line) for every line in order: one pass over a whole log at the
  // speed of its bytes. A spooled block is read into one buffer, reused
  // block after block, rather than through its mapping (mapping the pages of
  // a large log costs more than copying them), so the view f is given is
  // good only during the call; f adds no line to the arena.
  template <class F>
  void ForEachLine(F&& f) const {
    std::string buffer;
    for (std::size_t block = 0; block < blocks_.size(); ++block) {
      const std::string_view text = ReadBlock(block, buffer);
      const std::size_t end =
          block + 1 < firstLines_.size() ? firstLines_[block + 1] : ends_.size();
      std::size_t begin = 0;
      for (std::size_t line = firstLines_[block]; line < end; ++line) {
        f(text.substr(begin, ends_[line] - begin));
        begin = ends_[line] + kLineEnd.size();
      }
    }
  }

 private:
  // The block holding line index (0 past the last line).
  std::size_t BlockOf(std::size_t index) const;

  struct Block {
    std::string text;              // the lines, while held in memory
    const char* mapped = nullptr;  // the mapping of the spooled block, from a page start
    std::size_t skip = 0;          // where the block starts in the mapping
    std::size_t size = 0;          // the block's bytes, once spooled
    int file = -1;                 // the spool file holding it
    std::int64_t offset = 0;       // where it starts in that file
  };
  // The block's text: in place when in memory, else read into buffer (or,
  // should reading fail, through its mapping).
  std::string_view ReadBlock(std::size_t block, std::string& buffer) const;
  // Writes the last block to the spool and maps it; the block stays in
  // memory when that fails, and spooling stops for good.
  void Spool();
  void Close() noexcept;
  void Swap(LineArena& other) noexcept;

  FileSystem* fs_;
  std::string spoolFolder_;
  // Where blocks are spooled to is no part of the lines: a sealed spool
  // changes none of them, so a reader of a const arena may seal it.
  mutable int spool_ = -1;
  mutable std::int64_t spoolBytes_ = 0;
  mutable std::size_t spoolFirst_ = 0;  // the first block in spool_
  // Sealed spools stay open, for reading their blocks, until the arena closes.
  mutable std::vector<int> sealed_;
  bool spoolFailed_ = false;
  std::vector<Block> blocks_;            // each filled within the capacity it was given
  std::vector<std::size_t> firstLines_;  // firstLines_[b]: the first line in blocks_[b]
  // ends_[i]: where line i ends in its block. In chunks rather than one
  // array: ten million lines would otherwise be copied whole each time the
  // array doubled, into memory touched for the first time.
  std::deque<std::uint32_t> ends_;
  std::size_t bytes_ = 0;
};

}  // namespace harvestor
