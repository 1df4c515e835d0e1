#pragma once
// Routines the result export shares with its neighbours: the default and the
// remembered export folder, the shortening of long paths for display and the
// cleaning of text into a file name. The remembered folder lives as long as
// the component is loaded.

#include <string>

namespace harvestor::ResultExportRoutines {

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
