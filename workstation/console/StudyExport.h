#pragma once
// One study export run as the workstation does it: the study opened from
// its database, the service's ExportStudy with the dialog filled from the
// request, the status page's run, its OK pressed when it is done. Standard
// output gets a summary of the run, or with verbose the whole export log as
// it grows. The answer is an exit status: 0 when the export completed, 1 when
// it was aborted, reported an error or could not write a file, 3 when it
// completed without writing any subject.

#include <optional>
#include <string>

#include "workstation/console/Commands.h"

namespace workstation::console {

struct StudyExportRequest {
  std::string database;
  std::string study;  // empty: the database's only study
  std::string output;
  std::int16_t filterIndex = 1;  // 1 CSV, 2 Linkage, 3 Discovery Manager, 4 Summary Report
  std::optional<bool> answer;    // to the locus list question
  bool verbose = false;          // the whole log on standard output instead of a summary
  // The export goes to standard output (output is then a file of the run's
  // own, copied there), and everything else the run prints to standard error.
  bool toStandardOutput = false;
};

int runStudyExport(const StudyExportRequest& request, CommandContext& context);

// The dialog's filter index of a format name (csv, pedin, dmp, gsr), or 0.
std::int16_t studyFormatIndex(const std::string& format);

}  // namespace workstation::console
