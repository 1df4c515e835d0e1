// GenoGroup: finding, testing and reading LocusList.txt in the export folder.
#include <optional>

#include "harvestor/genotype/GenoGroup.h"
#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/ErrorLog.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/TextFile.h"

namespace harvestor {

std::string GenoGroup::FindLocusListFilePathAndName() {
  return Handled("GenoGroup", "FindLocusListFilePathAndName", [&]() -> std::string {
    const std::string name = LocusListFile::FullName();
    if (FileExists(name)) {
      ErrorLog::LogExportMsg("Using locus list: " + name);
      return name;
    }
    ErrorLog::LogExportMsg("Missing locus list file. Expected: " + name);
    ErrorLog::LogExportMsg("\tNo loci included in exported file.");
    return "";
  });
}

bool GenoGroup::CheckLocusList() {
  try {
    const std::string name = FindLocusListFilePathAndName();
    if (name.empty()) return false;
    const std::optional<std::uintmax_t> size = OpenedFileLength(name);
    if (!size) return false;
    return ToInt16(static_cast<std::int64_t>(*size)) > 0;
  } catch (...) {
    return false;
  }
}

bool GenoGroup::ReadLocusList(bool UpdateLocusList) {
  if (!m_colLociList) m_colLociList = NewCollection<std::string>();
  std::string name;
  try {
    if (UpdateLocusList) {
      const std::shared_ptr<IWindow> editor = HostObjects::Application().WindowManager().ShowPage(
          "ShowLocusListEditPage", std::any(m_colLociList), nullptr, -1);
    }
    name = FindLocusListFilePathAndName();
    bool result = false;
    bool lineRead = false;
    if (!name.empty()) {
      const std::optional<std::string> content = ReadWholeFile(name);
      if (!content) RaiseError(ErrNo::PathFileAccess);
      for (const std::string& entry : LocusListFile::SplitLines(*content)) {
        m_colLociList->Add(entry);
        lineRead = true;
      }
      if (m_colLociList->Count() == 0) {
        ErrorLog::LogExportMsg("Empty locus list: " + name);
        ErrorLog::LogExportMsg("\tNo loci included in exported file.");
      }
      result = true;
    }
    if (!lineRead)
      ErrorLog::LogExportMsg("Missing or Empty LocusList.txt.  View LocusList Editor.");
    return result;
  } catch (...) {
    ErrorLog::LogExportMsg("Can't read " + name + " File may be open.");
    return false;
  }
}

}  // namespace harvestor
