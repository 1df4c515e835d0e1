#pragma once
// Routines the result export shares with its neighbours: the default and the
// remembered export folder, the shortening of long paths for display and the
// cleaning of text into a file name. The remembered folder lives as long as
// the component is loaded.

#include <cstdint>
#include <string>

#include "harvestor/resultexport/ExportParameters.h"

namespace harvestor::ResultExportRoutines {

// Writes one result through the host's result file exporter, with the
// elements and the format of the run; answers the exporter's status (1 means
// written). The result's hold on its sample is dropped once it is written.
std::int32_t ExportResultFile(IResult& result, const std::string& fullPathAndFileName,
                              const ExportParameters& parameters);

// The exporter's option string: HEADER=1,FRAGLIST=1,RESULTDATA=1,SAMPLEDATA=0 and so on.
std::string OptionString(const ExportParameters& parameters);

// A path over 50 characters as its first 20, " ... " and its last 25.
std::string ShortenLongPaths(const std::string& path);

// The folder named Export beside the component's folder (its name with the
// last three characters replaced by "Export") when it exists, else the
// component folder's drive name (empty on a system without drives).
std::string FindExportPath();

std::string GetLastExportFolder();
void SetLastExportFolder(const std::string& fullPathAndFileName);

// Each of \ / : * ? " < > | becomes "_"; nothing else changes.
std::string ReplaceIllegalFileNameCharacters(std::string text);

// Joins a folder and a name with the separator of the names the component
// builds itself.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace harvestor::ResultExportRoutines
