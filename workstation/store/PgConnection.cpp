#include "workstation/store/PgConnection.h"

#include <charconv>
#include <cstring>
#include <exception>
#include <string>

#include "workstation/store/Database.h"

namespace workstation {
namespace {

std::string trimmed(const char* message) {
  std::string text = message ? message : "";
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text.empty() ? "unknown error" : text;
}

}  // namespace

std::int64_t PgResult::integer(int row, int column) const {
  const std::string_view t = text(row, column);
  std::int64_t value = 0;
  std::from_chars(t.data(), t.data() + t.size(), value);
  return value;
}

double PgResult::real(int row, int column) const {
  return std::stod(std::string(text(row, column)));
}

std::int64_t PgResult::binaryInteger(int row, int column) const {
  const std::string_view b = text(row, column);
  std::uint64_t value = 0;
  for (const char c : b) value = value << 8 | static_cast<unsigned char>(c);
  // Sign-extend from the width the server sent (network byte order).
  const unsigned bits = static_cast<unsigned>(b.size()) * 8;
  if (bits > 0 && bits < 64 && (value >> (bits - 1) & 1) != 0) value |= ~std::uint64_t{0} << bits;
  return static_cast<std::int64_t>(value);
}

bool PgResult::binaryBool(int row, int column) const {
  const std::string_view b = text(row, column);
  return !b.empty() && b[0] != 0;
}

double PgResult::binaryReal(int row, int column) const {
  const std::uint64_t bits = static_cast<std::uint64_t>(binaryInteger(row, column));
  double value = 0;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

PgConnection::PgConnection(const StoreAddress& address) : display_(address.display) {
  // The connection string is passed as dbname so that libpq expands a URI
  // or keyword string the way every PostgreSQL tool does.
  const char* keywords[] = {"dbname", "application_name", nullptr};
  const char* values[] = {address.location.c_str(), "harvestor", nullptr};
  conn_ = PQconnectdbParams(keywords, values, 1);
  if (!conn_ || PQstatus(conn_) != CONNECTION_OK) {
    const std::string reason = conn_ ? trimmed(PQerrorMessage(conn_)) : "out of memory";
    PQfinish(conn_);
    conn_ = nullptr;
    throw StoreError(display_ + ": " + reason);
  }
  exec("SET client_min_messages = warning");
}

PgConnection::~PgConnection() { PQfinish(conn_); }

void PgConnection::fail(std::string_view what) const {
  throw StoreError(display_ + ": " + std::string(what) + ": " + trimmed(PQerrorMessage(conn_)));
}

PgResult PgConnection::exec(std::string_view sql, const std::vector<const char*>& params) {
  const std::string text(sql);
  PGresult* r = params.empty() ? PQexec(conn_, text.c_str())
                               : PQexecParams(conn_, text.c_str(), static_cast<int>(params.size()),
                                              nullptr, params.data(), nullptr, nullptr, 0);
  PgResult result(r);
  if (result.status() != PGRES_COMMAND_OK && result.status() != PGRES_TUPLES_OK) {
    throw StoreError(display_ + ": " + trimmed(result.errorMessage()));
  }
  return result;
}

PgResult PgConnection::execBinary(std::string_view sql, const std::vector<const char*>& params) {
  const std::string text(sql);
  PgResult result(PQexecParams(conn_, text.c_str(), static_cast<int>(params.size()), nullptr,
                               params.data(), nullptr, nullptr, 1));
  if (result.status() != PGRES_COMMAND_OK && result.status() != PGRES_TUPLES_OK) {
    throw StoreError(display_ + ": " + trimmed(result.errorMessage()));
  }
  return result;
}

void PgConnection::streamBinary(std::string_view sql, const std::vector<const char*>& params,
                                const OnRows& onRows) {
  const std::string text(sql);
  if (PQsendQueryParams(conn_, text.c_str(), static_cast<int>(params.size()), nullptr,
                        params.data(), nullptr, nullptr, 1) != 1)
    fail("query");
  // Without single-row mode the rows come as one result, which reads the same.
  PQsetSingleRowMode(conn_);
  std::exception_ptr thrown;
  std::string error;
  while (PGresult* r = PQgetResult(conn_)) {
    PgResult result(r);
    const ExecStatusType status = result.status();
    if (status == PGRES_SINGLE_TUPLE || status == PGRES_TUPLES_OK) {
      if (thrown || !error.empty() || result.rows() == 0) continue;
      try {
        onRows(result);
      } catch (...) {
        thrown = std::current_exception();
      }
    } else if (error.empty()) {
      error = trimmed(result.errorMessage());
    }
  }
  if (thrown) std::rethrow_exception(thrown);
  if (!error.empty()) throw StoreError(display_ + ": " + error);
}

void PgConnection::copyBegin(std::string_view copySql) {
  const std::string text(copySql);
  PgResult result(PQexec(conn_, text.c_str()));
  if (result.status() != PGRES_COPY_IN) {
    throw StoreError(display_ + ": " + trimmed(result.errorMessage()));
  }
}

void PgConnection::copyWrite(std::string_view data) {
  if (PQputCopyData(conn_, data.data(), static_cast<int>(data.size())) != 1) fail("copy");
}

void PgConnection::copyFinish() {
  if (PQputCopyEnd(conn_, nullptr) != 1) fail("copy");
  while (PGresult* r = PQgetResult(conn_)) {
    PgResult result(r);
    if (result.status() != PGRES_COMMAND_OK) {
      throw StoreError(display_ + ": " + trimmed(result.errorMessage()));
    }
  }
}

}  // namespace workstation
