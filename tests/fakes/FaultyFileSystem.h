#pragma once
// A file system that fails one chosen call with a chosen errno, for the
// writer's failure paths; every other call goes to the real file system.
// Created files are numbered in order so a test can break "the k-th file".

#include <cerrno>
#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "harvestor/service/FileSystem.h"

namespace harvestor::testing {

class FaultyFileSystem : public FileSystem {
 public:
  enum class Call {
    None,
    CreateNew,
    CreateUnnamed,
    LinkUnnamed,
    Write,
    Sync,
    ChangeMode,
    Close,
    Rename
  };
  Call failing = Call::None;
  int error = ENOSPC;
  int failingFile = -1;  // the k-th created file (0 first); -1: any
  std::vector<std::string> created;
  // Runs before each CreateNew with the name asked for.
  std::function<void(const std::string&)> beforeCreate;

  int CreateNew(const std::string& path, unsigned mode, int& fd) override {
    if (beforeCreate) beforeCreate(path);
    if (Hits(Call::CreateNew, static_cast<int>(created.size()))) return error;
    const int result = FileSystem::CreateNew(path, mode, fd);
    return Numbered(result, fd, path);
  }
  // An unnamed file counts among the created files under its folder's name.
  int CreateUnnamed(const std::string& folder, int& fd) override {
    if (Hits(Call::CreateUnnamed, static_cast<int>(created.size()))) return error;
    const int result = FileSystem::CreateUnnamed(folder, fd);
    return Numbered(result, fd, folder);
  }
  int LinkUnnamed(int fd, const std::string& path) override {
    return Hits(Call::LinkUnnamed, FileOf(fd)) ? error : FileSystem::LinkUnnamed(fd, path);
  }
  int Write(int fd, const char* data, std::size_t size) override {
    return Hits(Call::Write, FileOf(fd)) ? error : FileSystem::Write(fd, data, size);
  }
  struct Range {
    int file;
    std::int64_t offset, size;
  };
  std::vector<Range> writebacks, releases;  // every StartWriteback and Release, in order
  void StartWriteback(int fd, std::int64_t offset, std::int64_t size) override {
    writebacks.push_back({FileOf(fd), offset, size});
    FileSystem::StartWriteback(fd, offset, size);
  }
  void Release(int fd, std::int64_t offset, std::int64_t size) override {
    releases.push_back({FileOf(fd), offset, size});
    FileSystem::Release(fd, offset, size);
  }
  int Sync(int fd) override { return Hits(Call::Sync, FileOf(fd)) ? error : FileSystem::Sync(fd); }
  int ChangeMode(int fd, unsigned mode) override {
    return Hits(Call::ChangeMode, FileOf(fd)) ? error : FileSystem::ChangeMode(fd, mode);
  }
  int Close(int fd) override {
    const int file = FileOf(fd);
    files_.erase(fd);
    const int result = FileSystem::Close(fd);
    return Hits(Call::Close, file) ? error : result;
  }
  int Rename(const std::string& from, const std::string& to) override {
    int file = -1;
    for (std::size_t i = 0; i < created.size(); ++i) {
      if (created[i] == from) file = static_cast<int>(i);
    }
    return Hits(Call::Rename, file) ? error : FileSystem::Rename(from, to);
  }

 private:
  int Numbered(int result, int fd, const std::string& name) {
    if (result == 0) {
      files_[fd] = static_cast<int>(created.size());
      created.push_back(name);
    }
    return result;
  }
  bool Hits(Call call, int file) const {
    return failing == call && (failingFile < 0 || failingFile == file);
  }
  int FileOf(int fd) const {
    const auto it = files_.find(fd);
    return it == files_.end() ? -1 : it->second;
  }
  std::map<int, int> files_;
};

}  // namespace harvestor::testing
