#pragma once
// Writes any study as the import tables (fragments, results, subjects), so a
// benchmark can time the real import path on a synthetic study.

#include <string>

#include "harvestor/service/StudyObjects.h"
#include "workstation/store/StudyTables.h"

namespace harvestor::bench {

workstation::StudyTableFiles DumpStudyTables(const IStudy& study, const std::string& folder);

}  // namespace harvestor::bench
