#pragma once
// The study database's schema. One file holds any number of studies; the
// schema version is stored in the file, and a file of another version, or
// one that is no study database, is refused with a message naming it.
//
// Each sample carries its subject's record (area scale and the ordered
// property list), because a record belongs to a sample: two results of one
// subject may disagree.

#include "workstation/store/Database.h"

namespace workstation::schema {

constexpr int kVersion = 2;

// Creates the tables in an empty file, or checks an existing file, upgrading
// a version 1 file in the caller's write transaction.
void createOrCheck(Database& db);
// Checks that db is a study database of this version.
void check(Database& db);

}  // namespace workstation::schema
