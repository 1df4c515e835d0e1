// GenoGroup: completing an export's files and writing the export log beside it.
#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/resultexport/FileName.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/TextFile.h"

namespace harvestor {
namespace {

void LogCantCreate(const std::string& fileName, const std::string& failure) {
  ErrorLog::LogExportMsg("Can't create " + fileName + " Check file open or disk full.");
  if (IHostUtility* utility = HostObjects::Utility()) {
    utility->ReportFileFailure(failure.empty() ? fileName + ": cannot be written" : failure);
  }
}

}  // namespace

void GenoGroup::CommitLogged(TextFileWriter& file, const std::string& exportedNote) {
  bool written = false;
  std::string failure;
  try {
    written = file.Commit();
    if (!written) failure = file.Failure();
  } catch (...) {
    written = false;
  }
  if (written) {
    ErrorLog::LogExportMsg("Exported " + exportedNote);
  } else {
    LogCantCreate(file.Path(), failure);
  }
}

void GenoGroup::WriteExportLogFile(const std::string& P) {
  std::string logName = P + ".log";
  std::string failure;
  try {
    FileName parts;
    parts.Initialize(P);
    logName = parts.PathAndFileNameSansExtension() + ".log";
    ErrorLog::LogExportMsg("Exported " + logName);
    const LineArena* log = ErrorLog::Lines();
    const LineArena none;
    if (!WriteTextLines(logName, log ? *log : none, &failure)) {
      LogCantCreate(logName, failure);
    }
  } catch (...) {
    LogCantCreate(logName, failure);
  }
}

}  // namespace harvestor
