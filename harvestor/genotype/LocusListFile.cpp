#include "harvestor/genotype/LocusListFile.h"

#include "harvestor/resultexport/ResultExportRoutines.h"

namespace harvestor::LocusListFile {

std::string FullName() {
  return ResultExportRoutines::JoinPath(ResultExportRoutines::FindExportPath(), "LocusList.txt");
}

std::vector<std::string> SplitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t i = 0; i < content.size(); ++i) {
    if (content[i] != '\r') continue;
    lines.push_back(content.substr(start, i - start));
    if (i + 1 < content.size() && content[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < content.size()) lines.push_back(content.substr(start));
  return lines;
}

}  // namespace harvestor::LocusListFile
