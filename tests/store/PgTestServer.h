#pragma once
// A throwaway PostgreSQL 15 server for one test program, in a fresh
// temporary folder on a Unix socket there, removed after the last test.
// Passwords are checked, so tests can try wrong ones; the administrator's is
// in a passfile, never on a command line. Where the server programs are not
// installed, available() is false and why() says so, for GTEST_SKIP.

#include <string>
#include <vector>

namespace workstation::testing {

class PgTestServer {
 public:
  // The one server of this test program, started on first use.
  static PgTestServer& instance();

  bool available() const { return available_; }
  const std::string& why() const { return why_; }

  // A keyword string for the administrator on database dbname.
  std::string adminConninfo(const std::string& dbname = "postgres") const;
  // A keyword string for user on dbname, with no password source of its own.
  std::string conninfo(const std::string& user, const std::string& dbname) const;

  // Runs sql as the administrator through psql; false when it fails.
  bool adminSql(const std::string& sql, const std::string& dbname = "postgres") const;
  // Creates an empty database owned by the administrator.
  std::string createDatabase(const std::string& name) const;

  ~PgTestServer();
  PgTestServer(const PgTestServer&) = delete;
  PgTestServer& operator=(const PgTestServer&) = delete;

 private:
  PgTestServer();
  // Starts the server; the reason it cannot, or "".
  std::string start();
  // argv as the postgres user when run as root.
  std::vector<std::string> asServer(std::vector<std::string> argv) const;

  bool available_ = false;
  std::string why_;
  std::string folder_;
  std::string bin_;
  int port_ = 0;
  bool asPostgres_ = false;
};

}  // namespace workstation::testing
