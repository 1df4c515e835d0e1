#pragma once
// One connection to a PostgreSQL study store, over libpq. Every failure
// throws StoreError naming the server by its display address (never with a
// password) and the server's own reason.

#include <libpq-fe.h>

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "workstation/store/StoreAddress.h"

namespace workstation {

// The rows of one query; text values, as the server sends them.
class PgResult {
 public:
  explicit PgResult(PGresult* result) : result_(result) {}
  ~PgResult() { PQclear(result_); }
  PgResult(PgResult&& other) noexcept : result_(other.result_) { other.result_ = nullptr; }
  PgResult(const PgResult&) = delete;
  PgResult& operator=(const PgResult&) = delete;
  PgResult& operator=(PgResult&&) = delete;

  // A null result (out of memory) reads as a fatal error.
  ExecStatusType status() const { return result_ ? PQresultStatus(result_) : PGRES_FATAL_ERROR; }
  const char* errorMessage() const {
    return result_ ? PQresultErrorMessage(result_) : "out of memory";
  }
  int rows() const { return PQntuples(result_); }
  bool isNull(int row, int column) const { return PQgetisnull(result_, row, column) != 0; }
  std::string_view text(int row, int column) const {
    return {PQgetvalue(result_, row, column),
            static_cast<std::size_t>(PQgetlength(result_, row, column))};
  }
  std::int64_t integer(int row, int column) const;
  double real(int row, int column) const;
  // The same from a result in binary format (execBinary, streamBinary):
  // integers of 2, 4 or 8 bytes, booleans and double precision values.
  std::int64_t binaryInteger(int row, int column) const;
  bool binaryBool(int row, int column) const;
  double binaryReal(int row, int column) const;

 private:
  PGresult* result_;
};

class PgConnection {
 public:
  explicit PgConnection(const StoreAddress& address);
  ~PgConnection();
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  // Runs sql; a NULL in params is an SQL NULL.
  PgResult exec(std::string_view sql, const std::vector<const char*>& params = {});
  // The same with the rows in binary format (read with the binary accessors).
  PgResult execBinary(std::string_view sql, const std::vector<const char*>& params);
  // Runs a query and hands its rows, in binary format, to onRows as they
  // arrive, a few at a time: the server sends while the caller reads, and
  // neither side ever holds the whole result. What onRows throws is raised
  // once the rest of the result has been read past, so the connection is
  // ready for the next query either way.
  using OnRows = std::function<void(const PgResult&)>;
  void streamBinary(std::string_view sql, const std::vector<const char*>& params,
                    const OnRows& onRows);

  // Streams rows to `COPY ... FROM STDIN`: write() takes any part of the
  // text format, finish() ends the copy and reports the server's verdict.
  void copyBegin(std::string_view copySql);
  void copyWrite(std::string_view data);
  void copyFinish();

  const std::string& display() const { return display_; }
  [[noreturn]] void fail(std::string_view what) const;

 private:
  PGconn* conn_ = nullptr;
  std::string display_;
};

}  // namespace workstation
