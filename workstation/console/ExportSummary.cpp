#include "workstation/console/ExportSummary.h"

#include <filesystem>
#include <ostream>
#include <set>
#include <string_view>

#include "harvestor/service/Text.h"

namespace workstation::console {
namespace {

constexpr std::string_view kForSubject = " for Subject: ";

bool startsWith(std::string_view line, std::string_view prefix) {
  return line.substr(0, prefix.size()) == prefix;
}

// The subject a line names at its end, keyed as the table keys subjects
// (without regard to case).
std::string subjectOf(std::string_view line) {
  const std::size_t at = line.rfind(kForSubject);
  std::string id(at == std::string_view::npos ? std::string_view()
                                              : line.substr(at + kForSubject.size()));
  for (char& c : id) c = harvestor::FoldCase(c);
  return id;
}

std::string plural(std::size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

}  // namespace

StudyExportTally tallyStudyExport(const harvestor::LineArena& log) {
  StudyExportTally tally;
  std::set<std::string> written, excluded;
  for (std::string_view line : log) {
    if (startsWith(line, "Processing result: ")) {
      ++tally.resultsProcessed;
      written.insert(subjectOf(line));
    } else if (startsWith(line, "Excluded result: ")) {
      ++tally.resultsExcluded;
      excluded.insert(subjectOf(line));
    } else if (startsWith(line, "Missing Subject ID for result: ")) {
      ++tally.resultsWithoutSubject;
    } else if (startsWith(line, "\tConflicting ")) {
      ++tally.conflicts;
    }
  }
  tally.subjectsWritten = written.size();
  for (const std::string& id : excluded) tally.subjectsSkipped += written.count(id) == 0 ? 1 : 0;
  return tally;
}

ResultExportTally tallyResultExport(const harvestor::LineArena& log) {
  ResultExportTally tally;
  for (std::string_view line : log) {
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
  }
  return tally;
}

bool logRecordsWriting(const harvestor::LineArena& log, const std::string& file) {
  for (std::string_view line : log) {
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

void printStudyTally(std::ostream& out, const StudyExportTally& tally) {
  out << "Subjects: " << tally.subjectsWritten << " written, " << tally.subjectsSkipped
      << " skipped (every result excluded)\n"
      << "Conflicts: " << tally.conflicts << "\n"
      << "Results: " << tally.resultsProcessed << " processed, " << tally.resultsExcluded
      << " excluded, " << tally.resultsWithoutSubject << " without a subject ID\n";
}

void printResultTally(std::ostream& out, const ResultExportTally& tally) {
  out << "Results: " << tally.exported << " exported, " << tally.failed << " failed, "
      << tally.skipped << " skipped\n";
}

}  // namespace workstation::console
