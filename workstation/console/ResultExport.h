#pragma once
// One result export as a user does it in the wizard: results ticked in the
// selection control, the template chosen in Save As, the elements and
// naming options ticked, Finish, then the status page's run. The answer is
// an exit status: 0 when the export completed, 1 when it was cancelled,
// failed for a result or reported an error, 2 when Save As refused the
// template (nothing is written then).

#include <optional>
#include <string>
#include <vector>

#include "workstation/console/Commands.h"

namespace workstation::console {

struct ResultExportRequest {
  std::string database;
  std::string study;
  std::string outputTemplate;        // a full path; its file name may be {Result Name}
  std::int16_t filterIndex = 1;      // 1 text, 2 native, 3 CRV
  std::vector<std::string> results;  // names to select; empty with all set: every result
  bool all = false;
  bool header = false;
  bool resultData = false;
  bool keepSuffix = false;
  bool noResolve = false;
  std::optional<bool> overwrite;  // the answer to overwrite questions
  bool verbose = false;           // the whole log on standard output instead of a summary
};

int runResultExport(const ResultExportRequest& request, CommandContext& context);

}  // namespace workstation::console
