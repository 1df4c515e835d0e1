#include "workstation/console/ExportSummary.h"

#include <filesystem>
#include <map>
#include <ostream>
#include <set>
#include <string_view>

#include "harvestor/service/Text.h"
#include "harvestor/service/Utf8.h"

namespace workstation::console {
namespace {

constexpr std::string_view kForSubject = " for Subject: ";

bool startsWith(std::string_view line, std::string_view prefix) {
  // The first byte first: it tells most lines apart without a call.
  return line.size() >= prefix.size() && (prefix.empty() || line[0] == prefix[0]) &&
         line.compare(0, prefix.size(), prefix) == 0;
}

// The subject a line names at its end, as written.
std::string_view subjectNamed(std::string_view line) {
  const std::size_t at = line.rfind(kForSubject);
  return at == std::string_view::npos ? std::string_view() : line.substr(at + kForSubject.size());
}

// A subject keyed as the genotype table keys subjects (without regard to case).
std::string keyOf(std::string_view id) { return harvestor::LowerCase(id); }

// A fragment's line "\tLOCUS: Unknown Allele" (a locus name holds no tab),
// not the Linkage export's "\tHomozygous: Allele ID: Unknown Allele".
bool isUnknownAllele(std::string_view line) {
  constexpr std::string_view kUnknown = ": Unknown Allele";
  return line.size() > kUnknown.size() + 1 && line[0] == '\t' && line.ends_with(kUnknown) &&
         line.substr(1).find('\t') == std::string_view::npos &&
         !startsWith(line, "\tHomozygous: Allele ID: ");
}

// The groups of subjects whose IDs, as first written, agree in their first
// 11 characters.
std::vector<std::vector<std::string>> equalWhenCut(const std::map<std::string, std::string>& ids) {
  std::map<std::string, std::vector<std::string>> byCut;
  for (const auto& [key, id] : ids) {
    byCut[id.substr(0, harvestor::Utf8::OffsetOfCharacter(id, kLinkageIdCharacters))].push_back(id);
  }
  std::vector<std::vector<std::string>> groups;
  for (auto& [cut, group] : byCut) {
    if (group.size() > 1) groups.push_back(std::move(group));
  }
  return groups;
}

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

StudyLogScan scanStudyLog(const harvestor::LineArena& log,
                          const std::vector<std::string_view>& prefixes) {
  StudyLogScan scan;
  scan.found.assign(prefixes.size(), false);
  StudyExportTally& tally = scan.tally;
  std::map<std::string, std::string> written;  // key -> the ID as first written
  std::set<std::string> excluded, missingLoci, missingIn;
  constexpr std::string_view kMissingLocus = "Missing locus: ";
  log.ForEachLine([&](std::string_view line) {
    // Most lines are told apart by their first byte: a 10M-line log is
    // walked at the speed of its bytes, not of six comparisons a line.
    if (line.empty()) return;
    switch (line[0]) {
      case 'P':
        if (startsWith(line, "Processing result: ")) {
          ++tally.resultsProcessed;
          const std::string_view id = subjectNamed(line);
          written.try_emplace(keyOf(id), id);
        }
        break;
      case 'E':
        if (startsWith(line, "Excluded result: ")) {
          ++tally.resultsExcluded;
          excluded.insert(keyOf(subjectNamed(line)));
        } else if (startsWith(line, "Exported")) {
          scan.records.emplace_back(line);
        }
        break;
      case 'M':
        if (startsWith(line, "Missing Subject ID for result: ")) {
          ++tally.resultsWithoutSubject;
        } else if (startsWith(line, kMissingLocus)) {
          ++tally.lociMissing;
          const std::size_t at = line.rfind(kForSubject);
          if (at != std::string_view::npos && at >= kMissingLocus.size()) {
            missingLoci.insert(keyOf(line.substr(kMissingLocus.size(), at - kMissingLocus.size())));
          }
          missingIn.insert(keyOf(subjectNamed(line)));
        }
        break;
      case '\t':
        if (startsWith(line, "\tConflicting ")) {
          ++tally.conflicts;
        } else if (isUnknownAllele(line)) {
          ++tally.unknownAlleles;
        }
        break;
      default:
        break;
    }
    for (std::size_t i = 0; i < prefixes.size(); ++i) {
      if (!scan.found[i] && !prefixes[i].empty() && startsWith(line, prefixes[i])) {
        scan.found[i] = true;
      }
    }
  });
  tally.subjectsWritten = written.size();
  for (const std::string& id : excluded) tally.subjectsSkipped += written.count(id) == 0 ? 1 : 0;
  tally.lociMissingDistinct = missingLoci.size();
  tally.subjectsMissingLoci = missingIn.size();
  tally.idsEqualWhenCut = equalWhenCut(written);
  return scan;
}

ResultExportTally tallyResultExport(const harvestor::LineArena& log) {
  ResultExportTally tally;
  log.ForEachLine([&](std::string_view line) {
    if (startsWith(line, "Exported: ")) {
      ++tally.exported;
      // A file of its own is named, as a full path, after " as "; a CRV set's
      // files are the trace writer's and not named.
      const std::size_t as = line.find(" as /");
      if (as != std::string_view::npos) tally.files.emplace_back(line.substr(as + 4));
    } else if (startsWith(line, "Error exporting: ")) {
      ++tally.failed;
    } else if (startsWith(line, "Skipped: ")) {
      ++tally.skipped;
    }
  });
  return tally;
}

bool recordsWriting(const std::vector<std::string>& records, const std::string& file) {
  for (std::string_view line : records) {
    for (std::string_view prefix :
         {std::string_view("Exported "), std::string_view("Exported: ")}) {
      if (!startsWith(line, prefix)) continue;
      const std::string_view rest = line.substr(prefix.size());
      if (startsWith(rest, file) && (rest.size() == file.size() || rest[file.size()] == ' ')) {
        return true;
      }
    }
  }
  return false;
}

void printFiles(std::ostream& out, const std::vector<std::string>& files) {
  std::size_t listed = 0, more = 0;
  std::uintmax_t moreBytes = 0;
  for (const std::string& file : files) {
    std::error_code ec;
    const auto size = std::filesystem::file_size(file, ec);
    if (ec) continue;
    if (listed == kFilesListed) {
      ++more;
      moreBytes += size;
      continue;
    }
    if (listed == 0) out << "Files written:\n";
    ++listed;
    out << "  " << file << " (" << plural(static_cast<std::size_t>(size), "byte", "bytes") << ")\n";
  }
  if (listed == 0) out << "No files written.\n";
  if (more > 0) {
    out << "  and " << plural(more, "more file", "more files") << " ("
        << plural(static_cast<std::size_t>(moreBytes), "byte", "bytes") << ")\n";
  }
}

void printLogFile(std::ostream& out, const std::string& logFile) {
  if (logFile.empty()) {
    out << "The export log is kept in no file; --verbose prints it.\n";
  } else {
    out << "Export log: " << logFile << "\n";
  }
}

void printStudyTally(std::ostream& out, const StudyExportTally& tally, bool cutIds) {
  out << "Subjects: " << tally.subjectsWritten << " written, " << tally.subjectsSkipped
      << " skipped (every result excluded)\n"
      << "Conflicts: " << tally.conflicts << "\n"
      << "Results: " << tally.resultsProcessed << " processed, " << tally.resultsExcluded
      << " excluded, " << tally.resultsWithoutSubject << " without a subject ID\n"
      << "Loci missing: " << tally.lociMissing;
  if (tally.lociMissing > 0) {
    out << " (" << plural(tally.lociMissingDistinct, "locus", "loci") << " of the list, in "
        << plural(tally.subjectsMissingLoci, "subject", "subjects") << ")";
  }
  out << "\nUnknown alleles: " << tally.unknownAlleles << "\n";
  if (!cutIds || tally.idsEqualWhenCut.empty()) return;
  out << "Subject IDs made equal by the Linkage file's " << kLinkageIdCharacters
      << "-character cut:\n";
  std::size_t shown = 0;
  for (const auto& group : tally.idsEqualWhenCut) {
    if (shown++ == kFilesListed) {
      out << "  and "
          << plural(tally.idsEqualWhenCut.size() - kFilesListed, "more group", "more groups")
          << "\n";
      break;
    }
    const std::string& first = group.front();
    out << "  " << first.substr(0, harvestor::Utf8::OffsetOfCharacter(first, kLinkageIdCharacters))
        << ":";
    for (const std::string& id : group) out << " " << id;
    out << "\n";
  }
}

void printCsvTally(std::ostream& out, std::size_t fragments, std::size_t subjects) {
  out << "Fragments: " << fragments << " written, of " << plural(subjects, "subject", "subjects")
      << "\n";
}

void printResultTally(std::ostream& out, const ResultExportTally& tally) {
  out << "Results: " << tally.exported << " exported, " << tally.failed << " failed, "
      << tally.skipped << " skipped\n";
}

}  // namespace workstation::console
