#include "workstation/store/ResultFileExporter.h"

#include <algorithm>
#include <set>

#include "harvestor/resultexport/FormatTypes.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/TextFile.h"
#include "workstation/store/NativeResultFile.h"
#include "workstation/store/StoredStudy.h"

namespace workstation {
namespace {

std::string number(double value) { return harvestor::FormatSignificant(value, 7); }

void writeHeader(harvestor::TextFileWriter& file, const SampleFacts& facts) {
  file.WriteLine("[Header]");
  file.WriteLine("Result Name\t" + escapeField(facts.resultName));
  file.WriteLine("Subject ID\t" + escapeField(facts.subjectId));
  file.WriteLine("Analysis Revision\t" + std::to_string(facts.analysisRevision));
  file.WriteLine("Area Scale\t" + number(facts.record->areaScale));
  for (const auto& e : facts.record->properties->entries) {
    file.WriteLine(escapeField(e.Name) + "\t" + escapeField(e.Value.ToText()));
  }
}

void writeFragments(harvestor::TextFileWriter& file, const SampleFacts& facts) {
  file.WriteLine("[Result Output]");
  file.WriteLine(
      "Dye\tLocus\tAllele ID\tFragment Size\tPeak Height\tPeak Area\tArea Divisor\t"
      "Condition Code\tExcluded\tComment");
  const auto fragments = facts.loadFragments();
  for (const StoredFragment& f : fragments->items) {
    file.WriteLine(std::to_string(f.dye) + "\t" + escapeField(f.locus) + "\t" +
                   escapeField(f.alleleId) + "\t" + number(f.size) + "\t" + number(f.height) +
                   "\t" + number(f.area) + "\t" + number(f.divisor) + "\t" +
                   std::to_string(f.conditionCode) + "\t" + (f.excluded ? "1" : "0") + "\t" +
                   escapeField(f.comment));
  }
}

void writeResultData(harvestor::TextFileWriter& file, const SampleFacts& facts) {
  std::set<std::string> loci;
  std::size_t called = 0, excluded = 0, unknown = 0;
  const auto fragments = facts.loadFragments();
  for (const StoredFragment& f : fragments->items) {
    if (!f.locus.empty()) loci.insert(harvestor::LowerCase(f.locus));
    if (!f.alleleId.empty()) ++called;
    if (f.excluded) ++excluded;
    if (f.alleleId.empty() && (f.conditionCode & 0x200) != 0) ++unknown;
  }
  file.WriteLine("[Result Data]");
  file.WriteLine("Fragments\t" + std::to_string(fragments->items.size()));
  file.WriteLine("Loci\t" + std::to_string(loci.size()));
  file.WriteLine("Called Alleles\t" + std::to_string(called));
  file.WriteLine("Unknown Alleles\t" + std::to_string(unknown));
  file.WriteLine("Excluded Fragments\t" + std::to_string(excluded));
}

void writeRawData(harvestor::TextFileWriter& file, const StoredSample& sample) {
  std::vector<float> traces[4];
  std::size_t scans = 0;
  for (std::int16_t dye = 1; dye <= 4; ++dye) {
    traces[dye - 1] = sample.Trace(dye);
    scans = std::max(scans, traces[dye - 1].size());
  }
  file.WriteLine("[Raw Data]");
  file.WriteLine("Scan\tDye 1\tDye 2\tDye 3\tDye 4");
  for (std::size_t s = 0; s < scans; ++s) {
    std::string line = std::to_string(s);
    for (const auto& trace : traces) line += "\t" + (s < trace.size() ? number(trace[s]) : "");
    file.WriteLine(line);
  }
}

}  // namespace

bool ResultFileExporter::option(const std::string& key) const {
  return ("," + options_ + ",").find("," + key + "=1,") != std::string::npos;
}

std::int32_t ResultFileExporter::ExportSample(const std::shared_ptr<harvestor::ISample>& sample) {
  const auto* stored = dynamic_cast<const StoredSample*>(sample.get());
  if (!stored) return UnknownSample;
  if (format_ == harvestor::ZAL_BASE) {
    std::string failure;
    if (writeNativeResult(outputFile_, *stored, &failure)) return Written;
    return cannotWrite(failure);
  }
  if (format_ != harvestor::TAB_DELIMITED) return UnknownFormat;
  harvestor::TextFileWriter file(outputFile_);
  if (!file.Ok()) return cannotWrite(file.Failure());
  if (option("HEADER")) writeHeader(file, stored->facts());
  if (option("FRAGLIST")) writeFragments(file, stored->facts());
  if (option("RESULTDATA")) writeResultData(file, stored->facts());
  if (option("SAMPLEDATA")) writeRawData(file, *stored);
  return file.Commit() ? Written : cannotWrite(file.Failure());
}

std::int32_t ResultFileExporter::cannotWrite(const std::string& failure) {
  if (harvestor::IHostUtility* utility = harvestor::HostObjects::Utility()) {
    utility->ReportFileFailure(failure);
  }
  return CannotWrite;
}

}  // namespace workstation
