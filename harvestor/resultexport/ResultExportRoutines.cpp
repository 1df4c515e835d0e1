#include "harvestor/resultexport/ResultExportRoutines.h"

#include "harvestor/resultexport/FileName.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/TextFile.h"
#include "harvestor/service/Utf8.h"

namespace harvestor::ResultExportRoutines {
namespace {
const char* const kModule = "ResultExportRoutines";
std::string m_strLastExportFolder;
}  // namespace

std::string OptionString(const ExportParameters& p) {
  std::string options = p.bSendHeader ? "HEADER=1," : "HEADER=0,";
  options += p.bSendResultOutput ? "FRAGLIST=1," : "FRAGLIST=0,";
  options += p.bSendResultData ? "RESULTDATA=1," : "RESULTDATA=0,";
  options += p.bSendRawData ? "SAMPLEDATA=1" : "SAMPLEDATA=0";
  return options;
}

std::int32_t ExportResultFile(IResult& result, const std::string& fullPathAndFileName,
                              const ExportParameters& parameters) {
  return Handled(kModule, "ExportResultFile", [&] {
    const std::string options = OptionString(parameters);
    const auto exporter = HostObjects::Libraries().CreateResultFileExporter();
    exporter->SetOptionString(options);
    exporter->SetFlags(0);
    exporter->SetFormat(parameters.enumFileFormat);
    exporter->SetOutputFile(fullPathAndFileName);
    const std::int32_t status = exporter->ExportSample(result.Sample());
    std::shared_ptr<ISample> none;
    result.ReleaseSample(none);
    return status;
  });
}

std::string ShortenLongPaths(const std::string& path) {
  return Handled(kModule, "ShortenLongPaths", [&] {
    if (Utf8::CharacterCount(path) <= 50) return path;
    return Left(path, 20) + " ... " + Right(path, 25);
  });
}

std::string FindExportPath() {
  return Handled(kModule, "FindExportPath", [&] {
    const std::string folder = FileName::WithoutTrailingSeparators(HostObjects::ComponentFolder());
    const std::string drive = FileName::GetDriveName(folder);
    if (folder.size() < 3) RaiseError(ErrNo::InvalidProcedureCall);
    const std::string candidate = folder.substr(0, folder.size() - 3) + "Export";
    return FolderExists(candidate) ? candidate : drive;
  });
}

std::string GetLastExportFolder() {
  return FolderExists(m_strLastExportFolder) ? m_strLastExportFolder : FindExportPath();
}

void SetLastExportFolder(const std::string& fullPathAndFileName) {
  FileName parts;
  parts.Initialize(fullPathAndFileName);
  m_strLastExportFolder = parts.PathName();
}

std::string ReplaceIllegalFileNameCharacters(std::string text) {
  for (char& c : text) {
    switch (c) {
      case '\\':
      case '/':
      case ':':
      case '*':
      case '?':
      case '"':
      case '<':
      case '>':
      case '|':
        c = '_';
        break;
      default:
        break;
    }
  }
  return text;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}

}  // namespace harvestor::ResultExportRoutines
