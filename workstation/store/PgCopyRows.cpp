#include "workstation/store/PgCopyRows.h"

#include <bit>
#include <cstring>

namespace workstation {
namespace {

template <class T>
void appendBigEndian(std::string& out, T value) {
  using U = std::make_unsigned_t<T>;
  U bits = static_cast<U>(value);
  char bytes[sizeof(T)];
  for (std::size_t i = 0; i < sizeof(T); ++i) {
    bytes[sizeof(T) - 1 - i] = static_cast<char>(bits & 0xff);
    bits = static_cast<U>(bits >> 8);
  }
  out.append(bytes, sizeof(T));
}

}  // namespace

PgCopyRows::PgCopyRows() {
  bytes_.append("PGCOPY\n\377\r\n\0", 11);
  appendBigEndian<std::int32_t>(bytes_, 0);  // flags
  appendBigEndian<std::int32_t>(bytes_, 0);  // header extension length
}

void PgCopyRows::beginRow(std::int16_t fields) { appendBigEndian(bytes_, fields); }

template <class T>
void PgCopyRows::field(T value) {
  appendBigEndian<std::int32_t>(bytes_, sizeof(T));
  appendBigEndian(bytes_, value);
}

void PgCopyRows::text(std::string_view value) {
  appendBigEndian(bytes_, static_cast<std::int32_t>(value.size()));
  bytes_.append(value);
}
void PgCopyRows::integer(std::int32_t value) { field(value); }
void PgCopyRows::bigint(std::int64_t value) { field(value); }
void PgCopyRows::smallint(std::int16_t value) { field(value); }
void PgCopyRows::boolean(bool value) { field(static_cast<std::int8_t>(value)); }
void PgCopyRows::real8(double value) { field(std::bit_cast<std::int64_t>(value)); }
void PgCopyRows::null() { appendBigEndian<std::int32_t>(bytes_, -1); }
void PgCopyRows::finish() { appendBigEndian<std::int16_t>(bytes_, -1); }

}  // namespace workstation
