#pragma once
// What the console prints after an export instead of the whole log: what the
// run did, in figures, the files it wrote with their sizes and where the log
// is kept. The figures are tallied from the run's export log, the
// component's own record of every result and subject it met.

#include <cstddef>
#include <iosfwd>
#include <string>
#include <vector>

#include "harvestor/service/LineArena.h"

namespace workstation::console {

struct StudyExportTally {
  std::size_t subjectsWritten = 0;  // subjects with a result in the table
  std::size_t subjectsSkipped = 0;  // subjects every result of whom was excluded
  std::size_t conflicts = 0;        // pedigree values that disagreed between results
  std::size_t resultsProcessed = 0;
  std::size_t resultsExcluded = 0;
  std::size_t resultsWithoutSubject = 0;
  std::size_t lociMissing = 0;          // a locus of the list that a subject has no call at
  std::size_t lociMissingDistinct = 0;  // how many loci of the list those are
  std::size_t subjectsMissingLoci = 0;
  std::size_t unknownAlleles = 0;  // fragments called "Unknown Allele"
  // Subjects (as first named) whose IDs agree in their first 11 characters,
  // the part a Linkage file keeps: each group shares one ID there. Groups
  // are in the order of their cut ID.
  std::vector<std::vector<std::string>> idsEqualWhenCut;
};

// What one walk of a study export's log finds: its tally, the lines that
// record writing a file (as recordsWriting reads them), and whether a line
// starts with each of the prefixes asked about. A log of ten million lines
// is walked once for the summary and the exit status together.
struct StudyLogScan {
  StudyExportTally tally;
  std::vector<std::string> records;
  std::vector<bool> found;  // by prefix
};
StudyLogScan scanStudyLog(const harvestor::LineArena& log,
                          const std::vector<std::string_view>& prefixes);

// The Linkage file keeps the first 11 characters (not bytes) of an ID.
constexpr std::size_t kLinkageIdCharacters = 11;

struct ResultExportTally {
  std::size_t exported = 0;
  std::size_t failed = 0;
  std::size_t skipped = 0;
  std::vector<std::string> files;  // the files written, in the order they were
};
ResultExportTally tallyResultExport(const harvestor::LineArena& log);

// Whether one of the records of writing a file (the log's lines "Exported "
// or "Exported: " followed by its name, alone or before a note) names the
// file, as a whole name.
bool recordsWriting(const std::vector<std::string>& records, const std::string& file);

// The lines "Files written:" and one per file that exists, with its size, up
// to kFilesListed of them and then one line for the rest; "No files
// written." when none exists.
constexpr std::size_t kFilesListed = 10;
void printFiles(std::ostream& out, const std::vector<std::string>& files);
// The line naming the log file, or saying that the log is only shown.
void printLogFile(std::ostream& out, const std::string& logFile);

// cutIds: the format cuts IDs to 11 characters, so groups that share one are named.
void printStudyTally(std::ostream& out, const StudyExportTally& tally, bool cutIds);
// A CSV export's line: its fragment rows and the subjects they belong to.
void printCsvTally(std::ostream& out, std::size_t fragments, std::size_t subjects);
void printResultTally(std::ostream& out, const ResultExportTally& tally);

}  // namespace workstation::console
