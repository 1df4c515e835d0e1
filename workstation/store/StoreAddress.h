#pragma once
// Where a study store lives, as a command's database argument names it. An
// argument that is a `postgresql://` (or `postgres://`) URI, or `postgres:`
// followed by a libpq keyword string, names a PostgreSQL server; anything
// else is a SQLite file. A password written in the argument is refused:
// passwords come from libpq's usual places (PGPASSWORD, ~/.pgpass, a service
// file), so that none is seen in a process list or a shell history.
//
// `display` is safe to print in any message or log: it never holds a password.

#include <string>

namespace workstation {

struct StoreAddress {
  enum class Engine { SQLite, PostgreSQL };
  Engine engine = Engine::SQLite;
  // The file's path, or a libpq connection string.
  std::string location;
  // "STUDY.db", or "postgresql://user@host:port/dbname" without a password.
  std::string display;
};

// Throws StoreError for a server address libpq cannot parse or one that
// carries a password; the message never repeats the password.
StoreAddress parseStoreAddress(const std::string& argument);

}  // namespace workstation
