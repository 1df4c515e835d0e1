#include "workstation/store/Database.h"

namespace workstation {

namespace {

sqlite3* open(const std::string& path, int flags, const std::string& shownAs) {
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(path.c_str(), &db, flags | SQLITE_OPEN_NOMUTEX, nullptr) != SQLITE_OK) {
    const std::string message = db ? sqlite3_errmsg(db) : "cannot open";
    sqlite3_close(db);
    throw StoreError(shownAs + ": " + message);
  }
  sqlite3_busy_timeout(db, 2000);
  return db;
}

// A connection's first read: it rolls back a write that was stopped part
// way, if the connection may write.
int firstRead(sqlite3* db) {
  return sqlite3_exec(db, "SELECT count(*) FROM sqlite_master", nullptr, nullptr, nullptr);
}

// Whether a first read finds the journal of such a write, which only a
// connection that may write can roll back.
bool needsRollback(sqlite3* db) {
  return firstRead(db) == SQLITE_READONLY &&
         sqlite3_extended_errcode(db) == SQLITE_READONLY_ROLLBACK;
}

}  // namespace

Database::Database(const std::string& path, Mode mode, std::string shownAs)
    : path_(shownAs.empty() ? path : std::move(shownAs)) {
  const int flags = mode == Mode::ReadOnly    ? SQLITE_OPEN_READONLY
                    : mode == Mode::ReadWrite ? SQLITE_OPEN_READWRITE
                                              : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
  db_ = open(path, flags, path_);
  if (mode != Mode::ReadOnly || !needsRollback(db_)) return;
  // An import stopped part way left its journal: a reader would otherwise
  // see no database at all. A writer's first read puts the file back as it
  // was before that import.
  sqlite3_close(db_);
  db_ = nullptr;
  sqlite3* writer = nullptr;
  try {
    writer = open(path, SQLITE_OPEN_READWRITE, path_);
  } catch (const StoreError&) {
  }
  const bool rolledBack = writer && firstRead(writer) == SQLITE_OK;
  sqlite3_close(writer);
  if (!rolledBack) {
    throw StoreError(path_ +
                     ": an import into it was stopped part way, and its journal can only be "
                     "rolled back with the right to write the file and its folder");
  }
  db_ = open(path, flags, path_);
}

Database::~Database() { sqlite3_close(db_); }

void Database::setBusyTimeout(int milliseconds) { sqlite3_busy_timeout(db_, milliseconds); }

void Database::exec(std::string_view sql) {
  char* error = nullptr;
  if (sqlite3_exec(db_, std::string(sql).c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
    const std::string message = error ? error : "error";
    sqlite3_free(error);
    throw StoreError(path_ + ": " + message);
  }
}

std::int64_t Database::lastInsertId() const { return sqlite3_last_insert_rowid(db_); }

void Database::fail(std::string_view what) const {
  throw StoreError(path_ + ": " + std::string(what) + ": " + sqlite3_errmsg(db_));
}

Statement::Statement(Database& db, std::string_view sql) : db_(db) {
  if (sqlite3_prepare_v3(db.handle(), sql.data(), static_cast<int>(sql.size()),
                         SQLITE_PREPARE_PERSISTENT, &stmt_, nullptr) != SQLITE_OK) {
    db.fail("cannot prepare query");
  }
}

Statement::~Statement() { sqlite3_finalize(stmt_); }

Statement& Statement::bind(int index, std::int64_t value) {
  if (sqlite3_bind_int64(stmt_, index, value) != SQLITE_OK) db_.fail("bind");
  return *this;
}
Statement& Statement::bind(int index, double value) {
  if (sqlite3_bind_double(stmt_, index, value) != SQLITE_OK) db_.fail("bind");
  return *this;
}
Statement& Statement::bind(int index, std::string_view text) {
  if (sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                        SQLITE_TRANSIENT) != SQLITE_OK) {
    db_.fail("bind");
  }
  return *this;
}
Statement& Statement::bindNull(int index) {
  if (sqlite3_bind_null(stmt_, index) != SQLITE_OK) db_.fail("bind");
  return *this;
}
Statement& Statement::bindBlob(int index, const void* data, std::size_t bytes) {
  if (sqlite3_bind_blob64(stmt_, index, data, bytes, SQLITE_TRANSIENT) != SQLITE_OK) {
    db_.fail("bind");
  }
  return *this;
}

bool Statement::step() {
  const int rc = sqlite3_step(stmt_);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  db_.fail("query failed");
}

void Statement::run() {
  while (step()) {
  }
  reset();
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

std::int64_t Statement::integer(int column) const { return sqlite3_column_int64(stmt_, column); }
double Statement::real(int column) const { return sqlite3_column_double(stmt_, column); }
bool Statement::isNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string Statement::text(int column) const {
  const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, column));
  return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
           : std::string();
}

std::string_view Statement::blob(int column) const {
  const auto* p = static_cast<const char*>(sqlite3_column_blob(stmt_, column));
  return p ? std::string_view(p, static_cast<std::size_t>(sqlite3_column_bytes(stmt_, column)))
           : std::string_view();
}

Transaction::Transaction(Database& db) : db_(db) { db_.exec("BEGIN IMMEDIATE"); }

Transaction::~Transaction() {
  if (done_) return;
  try {
    db_.exec("ROLLBACK");
  } catch (...) {
    // The connection is closing anyway; nothing was committed.
  }
}

void Transaction::commit() {
  db_.exec("COMMIT");
  done_ = true;
}

}  // namespace workstation
