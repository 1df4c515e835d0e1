#include "workstation/store/StoreAddress.h"

#include <libpq-fe.h>

#include <memory>
#include <string_view>

#include "workstation/store/Database.h"

namespace workstation {
namespace {

bool startsWith(std::string_view s, std::string_view prefix) {
  return s.substr(0, prefix.size()) == prefix;
}

struct ConninfoFree {
  void operator()(PQconninfoOption* o) const { PQconninfoFree(o); }
};

std::string describe(const PQconninfoOption* options) {
  std::string host, port, user, dbname, service;
  for (const PQconninfoOption* o = options; o->keyword; ++o) {
    if (!o->val || !*o->val) continue;
    const std::string_view k = o->keyword;
    if (k == "host" || (k == "hostaddr" && host.empty())) host = o->val;
    if (k == "port") port = o->val;
    if (k == "user") user = o->val;
    if (k == "dbname") dbname = o->val;
    if (k == "service") service = o->val;
  }
  std::string text = "postgresql://";
  if (!user.empty()) text += user + "@";
  text += host;
  if (!port.empty()) text += ":" + port;
  if (!dbname.empty()) text += "/" + dbname;
  if (!service.empty()) text += "?service=" + service;
  return text;
}

}  // namespace

StoreAddress parseStoreAddress(const std::string& argument) {
  StoreAddress address;
  std::string conninfo;
  if (startsWith(argument, "postgresql://") || startsWith(argument, "postgres://")) {
    conninfo = argument;
  } else if (startsWith(argument, "postgres:")) {
    conninfo = argument.substr(std::string_view("postgres:").size());
  } else {
    address.location = argument;
    address.display = argument;
    return address;
  }
  char* error = nullptr;
  std::unique_ptr<PQconninfoOption, ConninfoFree> options(
      PQconninfoParse(conninfo.c_str(), &error));
  if (!options) {
    // libpq's parse errors name the offending keyword or syntax, never a value.
    std::string message = error ? error : "cannot be parsed";
    PQfreemem(error);
    while (!message.empty() && message.back() == '\n') message.pop_back();
    throw StoreError("invalid PostgreSQL address: " + message);
  }
  for (const PQconninfoOption* o = options.get(); o->keyword; ++o) {
    if (std::string_view(o->keyword) == "password" && o->val && *o->val) {
      throw StoreError(describe(options.get()) +
                       ": a password in the database address is refused; give it in PGPASSWORD, "
                       "~/.pgpass or a service file");
    }
  }
  address.engine = StoreAddress::Engine::PostgreSQL;
  address.location = conninfo;
  address.display = describe(options.get());
  return address;
}

}  // namespace workstation
