#pragma once
// A thin owner of one SQLite connection and its prepared statements. Every
// failure throws StoreError naming the database file and what went wrong.

#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

namespace workstation {

class StoreError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Database;

class Statement {
 public:
  Statement(Database& db, std::string_view sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  Statement& bind(int index, std::int64_t value);
  Statement& bind(int index, double value);
  Statement& bind(int index, std::string_view text);
  Statement& bindNull(int index);
  Statement& bindBlob(int index, const void* data, std::size_t bytes);

  // Steps once: true while a row is available.
  bool step();
  // Steps to completion of a statement that returns no rows.
  void run();
  void reset();

  std::int64_t integer(int column) const;
  double real(int column) const;
  std::string text(int column) const;
  bool isNull(int column) const;
  // The blob's bytes; valid until the next step.
  std::string_view blob(int column) const;

 private:
  Database& db_;
  sqlite3_stmt* stmt_ = nullptr;
};

class Database {
 public:
  enum class Mode { ReadOnly, ReadWrite, ReadWriteCreate };
  // Messages name the file as shown, the path unless given otherwise (a
  // database built under a private name is named by the name it will get).
  // A read-only open of a file whose last write was stopped part way first
  // rolls that write back, as SQLite does for any connection that may write.
  Database(const std::string& path, Mode mode, std::string shownAs = "");
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  void exec(std::string_view sql);
  // How long a statement waits for another connection's lock; 2 s unless set.
  void setBusyTimeout(int milliseconds);
  const std::string& path() const { return path_; }
  sqlite3* handle() { return db_; }
  std::int64_t lastInsertId() const;
  [[noreturn]] void fail(std::string_view what) const;

 private:
  std::string path_;
  sqlite3* db_ = nullptr;
};

// Runs a transaction that rolls back unless committed.
class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  void commit();

 private:
  Database& db_;
  bool done_ = false;
};

}  // namespace workstation
