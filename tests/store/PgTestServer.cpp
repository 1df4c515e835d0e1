#include "tests/store/PgTestServer.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace workstation::testing {
namespace {

constexpr const char* kAdmin = "harvestor_admin";
constexpr const char* kAdminPassword = "admin-Secret-4711";
// Every reason for skipping starts so; the test command reports a match as skipped.
const std::string kUnavailable = "PostgreSQL test server unavailable: ";

// Runs argv with its output in logPath; true when it exits 0.
bool run(const std::vector<std::string>& argv, const std::string& logPath) {
  const pid_t pid = fork();
  if (pid == 0) {
    const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0644);
    if (log >= 0) {
      dup2(log, 1);
      dup2(log, 2);
    }
    const int in = open("/dev/null", O_RDONLY);
    if (in >= 0) dup2(in, 0);
    std::vector<char*> args;
    for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    execvp(args[0], args.data());
    _exit(127);
  }
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

PgTestServer& PgTestServer::instance() {
  static PgTestServer server;
  return server;
}

PgTestServer::PgTestServer() : bin_("/usr/lib/postgresql/15/bin") {
  why_ = start();
  available_ = why_.empty();
  if (!available_) why_ = kUnavailable + why_;
}

std::string PgTestServer::start() {
  if (access((bin_ + "/initdb").c_str(), X_OK) != 0)
    return "PostgreSQL 15 is not installed (no " + bin_ + "/initdb): the server tests are skipped";
  char tmpl[] = "/tmp/harvestor-pg-XXXXXX";
  if (!mkdtemp(tmpl)) return "cannot make a folder for the test server";
  folder_ = tmpl;
  port_ = 20000 + static_cast<int>(getpid() % 20000);
  asPostgres_ = geteuid() == 0;
  const passwd* pw = asPostgres_ ? getpwnam("postgres") : nullptr;
  if (asPostgres_ && (!pw || chown(folder_.c_str(), pw->pw_uid, pw->pw_gid) != 0))
    return "running as root, and there is no postgres user to run the test server";
  const std::string pwfile = folder_ + "/admin-password", log = folder_ + "/setup.log";
  std::ofstream(pwfile) << kAdminPassword << "\n";
  chmod(pwfile.c_str(), 0644);
  std::ofstream(folder_ + "/passfile") << "*:*:*:" << kAdmin << ":" << kAdminPassword << "\n";
  chmod((folder_ + "/passfile").c_str(), 0600);
  if (!run(asServer({bin_ + "/initdb", "-D", folder_ + "/data", "-U", kAdmin, "-A", "scram-sha-256",
                     "--pwfile=" + pwfile, "-E", "UTF8", "--locale=C", "--no-sync"}),
           log))
    return "initdb failed; see " + log;
  const std::string options = "-k " + folder_ + " -p " + std::to_string(port_) +
                              " -c listen_addresses= -c fsync=off -c full_page_writes=off";
  if (!run(asServer({bin_ + "/pg_ctl", "-D", folder_ + "/data", "-l", folder_ + "/server.log", "-w",
                     "-t", "60", "-o", options, "start"}),
           log))
    return "the test server did not start; see " + folder_ + "/server.log";
  return "";
}

std::vector<std::string> PgTestServer::asServer(std::vector<std::string> argv) const {
  if (asPostgres_) argv.insert(argv.begin(), {"runuser", "-u", "postgres", "--"});
  return argv;
}

PgTestServer::~PgTestServer() {
  if (folder_.empty()) return;
  if (available_)
    run(asServer({bin_ + "/pg_ctl", "-D", folder_ + "/data", "-m", "immediate", "-w", "stop"}),
        "/dev/null");
  std::error_code ignored;
  std::filesystem::remove_all(folder_, ignored);
}

std::string PgTestServer::conninfo(const std::string& user, const std::string& dbname) const {
  return "host=" + folder_ + " port=" + std::to_string(port_) + " user=" + user +
         " dbname=" + dbname + " passfile=" + folder_ + "/no-passfile";
}

std::string PgTestServer::adminConninfo(const std::string& dbname) const {
  return "host=" + folder_ + " port=" + std::to_string(port_) + " user=" + kAdmin +
         " dbname=" + dbname + " passfile=" + folder_ + "/passfile";
}

bool PgTestServer::adminSql(const std::string& sql, const std::string& dbname) const {
  return run({"psql", "-X", "-q", "-v", "ON_ERROR_STOP=1", "-d", adminConninfo(dbname), "-c", sql},
             folder_ + "/psql.log");
}

std::string PgTestServer::createDatabase(const std::string& name) const {
  adminSql("DROP DATABASE IF EXISTS " + name);
  adminSql("CREATE DATABASE " + name);
  return adminConninfo(name);
}

}  // namespace workstation::testing
