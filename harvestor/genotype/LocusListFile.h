#pragma once
// LocusList.txt: one locus name per line, in export order, in the export
// folder. Every line is an entry as it stands: no trimming, no comments, an
// empty line is an empty name. A line ends at CR LF or at a lone CR; a lone
// LF stays part of the name; a last line without an end is still an entry.

#include <string>
#include <vector>

namespace harvestor::LocusListFile {

// The export folder + "/LocusList.txt".
std::string FullName();

std::vector<std::string> SplitLines(const std::string& content);

}  // namespace harvestor::LocusListFile
