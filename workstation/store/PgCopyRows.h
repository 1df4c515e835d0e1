#pragma once
// Rows in PostgreSQL's binary COPY format, built in a buffer that the caller
// sends with PgConnection::copyWrite. Binary rather than text, so that packed
// bytes and floats travel as they are: no escaping, no decimal round trip.

#include <cstdint>
#include <string>
#include <string_view>

namespace workstation {

class PgCopyRows {
 public:
  PgCopyRows();  // starts with the format's header

  void beginRow(std::int16_t fields);
  void text(std::string_view value);  // also bytea
  void integer(std::int32_t value);
  void bigint(std::int64_t value);
  void smallint(std::int16_t value);
  void boolean(bool value);
  void real8(double value);
  void null();

  // The bytes so far, ended by the format's trailer when finished.
  const std::string& bytes() const { return bytes_; }
  std::size_t size() const { return bytes_.size(); }
  void finish();
  // Drops the bytes sent, keeping none of the header: the rest of a copy.
  void clearSent() { bytes_.clear(); }

 private:
  template <class T>
  void field(T value);
  std::string bytes_;
};

}  // namespace workstation
