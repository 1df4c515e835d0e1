#pragma once
// The study store's tables on a PostgreSQL server, in the schema
// "harvestor". The schema version is stored on the server; a server holding
// another version is refused by name. Results are rows of their own, and a
// result's fragments are one packed value (FragmentPack), so a study of ten
// million fragments is a hundred thousand rows.

#include "workstation/store/PgConnection.h"

namespace workstation::pgschema {

constexpr int kVersion = 1;

// Creates the schema when the server has none, else checks its version. Runs
// in the caller's transaction, serialised with other creators by an advisory
// lock, so two first imports at once create it once.
void createOrCheck(PgConnection& db);
// Checks that the server holds a study store of this version.
void check(PgConnection& db);

}  // namespace workstation::pgschema
