#include <algorithm>
#include <optional>
#include <ostream>
#include <string>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/service/TextFile.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/Commands.h"
#include "workstation/store/CallTableReader.h"
#include "workstation/store/GenepopReader.h"
#include "workstation/store/ImportChecks.h"
#include "workstation/store/LinkageReader.h"
#include "workstation/store/NativeResultFile.h"
#include "workstation/store/StudyStore.h"
#include "workstation/store/StudyTables.h"
#include "workstation/store/TsvTable.h"

namespace workstation::console {
namespace {

// Every format is read result by result into the import's transaction.
int importStreamed(const std::string& store, const std::string& name, const ResultSource& source,
                   CommandContext& context) {
  std::size_t results = 0, fragments = 0;
  importStudy(store, name, [&](const ResultSink& add) {
    source([&](const ImportedResult& result) {
      ++results;
      fragments += result.fragments.size();
      add(result);
    });
  });
  context.out << "Imported study '" << name << "' into " << store << ": " << results << " results, "
              << fragments << " fragments.\n";
  return 0;
}

// One format per import: its own options and none of another's.
void refuseOthers(const Arguments& a, const std::string& format,
                  const std::vector<std::string>& own) {
  for (const char* other : {"fragments", "results", "subjects", "traces", "native", "calls",
                            "genepop", "populations", "write-locus-list", "linkage", "loci"}) {
    if (a.has(other) && std::find(own.begin(), own.end(), other) == own.end()) {
      throw UsageError("--" + format + " takes no --" + std::string(other));
    }
  }
}

int importLinkage(const Arguments& a, CommandContext& context) {
  refuseOthers(a, "linkage", {"linkage", "loci"});
  const std::string pedigree = a.required("linkage"), loci = a.required("loci");
  const std::string name = a.required("name");
  requireFile(pedigree);
  requireFile(loci);
  const LinkageReader reader(pedigree, loci);
  return importStreamed(
      a.positional()[0], name, [&](const ResultSink& add) { reader.read(add); }, context);
}

int importCalls(const Arguments& a, CommandContext& context) {
  refuseOthers(a, "calls", {"calls"});
  const std::string calls = a.required("calls"), name = a.required("name");
  requireFile(calls);
  const CallTableReader reader(calls);
  return importStreamed(
      a.positional()[0], name, [&](const ResultSink& add) { reader.read(add); }, context);
}

int importGenepop(const Arguments& a, CommandContext& context) {
  refuseOthers(a, "genepop", {"genepop", "populations", "write-locus-list"});
  const std::string file = a.required("genepop"), name = a.required("name");
  requireFile(file);
  if (a.has("populations")) requireFile(a.value("populations"));
  GenepopReader reader(file, a.value("populations"));
  const int status = importStreamed(
      a.positional()[0], name, [&](const ResultSink& add) { reader.read(add); }, context);
  if (a.has("write-locus-list")) {
    // Written only once the study is in: a refused file leaves the list alone.
    harvestor::TextFileWriter list(harvestor::LocusListFile::FullName());
    for (const std::string& locus : reader.loci()) list.WriteLine(locus);
    if (!list.Commit()) throw std::runtime_error(list.Failure());
    context.out << "Wrote the locus list " << list.Path() << " (" << reader.loci().size()
                << " loci).\n";
  }
  return status;
}

}  // namespace

Command importCommand() {
  Command c;
  c.name = "import";
  c.summary = "add a study to a study database from tab-delimited tables";
  c.usage =
      "usage: harvestor import STUDY.db --name NAME --fragments FRAGMENTS.tsv\n"
      "                        [--results RESULTS.tsv] [--subjects SUBJECTS.tsv]\n"
      "                        [--traces TRACES.tsv] [--native RESULT.zlu]...\n"
      "       harvestor import STUDY.db --name NAME --native RESULT.zlu...\n"
      "       harvestor import STUDY.db --name NAME --calls CALLS.txt\n"
      "       harvestor import STUDY.db --name NAME --genepop FILE.gen\n"
      "                        [--populations POPULATIONS.tsv] [--write-locus-list]\n"
      "       harvestor import STUDY.db --name NAME --linkage FILE.pre --loci LOCI.txt\n\n"
      "Adds the study NAME to STUDY.db (created when missing). Every table has a\n"
      "header row; column names match without regard to case. Results exported in\n"
      "the native format (zlu) are added after the tables' results, in the order\n"
      "given. Every value is checked: numbers within the range the export reads\n"
      "them in (dye a 16-bit whole number; sizes, heights, areas and trace values\n"
      "finite single-precision numbers), names and IDs valid UTF-8 without control\n"
      "characters. A traces table lists every scan of a trace from 0 up, with no\n"
      "gaps; the highest scan index is " +
      std::to_string(kMaxScanIndex) +
      ". Bad input is refused with the file, line and\n"
      "column (the byte offset in a native file), and nothing is written.\n"
      "STUDY.db may instead name a PostgreSQL server (a postgresql:// URI, or postgres:\n"
      "and a libpq keyword string); the import is then one transaction on the server.\n"
      "--calls reads the allele-call table of fragment-analysis software (Sample Name,\n"
      "Marker, Sample File, Dye, Allele i, Size i, Height i, Area i; tab- or\n"
      "comma-separated). --genepop reads a Genepop file; each section's individuals\n"
      "get its population (Pop1, Pop2, ... or the Population ID that --populations\n"
      "gives them) as Population ID and Pedigree ID; --write-locus-list makes the\n"
      "file's loci the locus list once the study is in.\n"
      "--linkage reads a Linkage pre-makeped file (pedigree, individual, father,\n"
      "mother, gender, affectation, liability class, two allele columns per locus;\n"
      "? and 0 missing) whose loci --loci names one per line. docs/import-formats.md\n"
      "describes every format's columns.\n";
  c.run = [](const std::vector<std::string>& args, CommandContext& context) {
    const Arguments a(args,
                      {{"name", true},
                       {"fragments", true},
                       {"results", true},
                       {"subjects", true},
                       {"traces", true},
                       {"native", true},
                       {"calls", true},
                       {"genepop", true},
                       {"populations", true},
                       {"write-locus-list", false},
                       {"linkage", true},
                       {"loci", true}},
                      1, 1);
    if (a.has("linkage") || a.has("loci")) return importLinkage(a, context);
    if (a.has("calls")) return importCalls(a, context);
    if (a.has("genepop") || a.has("populations") || a.has("write-locus-list")) {
      return importGenepop(a, context);
    }
    for (const char* table : {"fragments", "results", "subjects", "traces"}) {
      if (a.has(table)) requireFile(a.value(table));
    }
    const std::vector<std::string> natives = a.values("native");
    for (const auto& file : natives) requireFile(file);
    const std::string name = a.required("name");
    if (name.empty()) throw ImportError("a study needs a name");
    std::optional<StudyTablesReader> tables;
    if (natives.empty() || a.has("fragments")) {
      tables.emplace(StudyTableFiles{a.required("fragments"), a.value("results"),
                                     a.value("subjects"), a.value("traces")});
    }
    // The tables' results, then the native files' in the order given.
    return importStreamed(
        a.positional()[0], name,
        [&](const ResultSink& add) {
          if (tables) tables->read(add);
          for (const auto& file : natives) add(readNativeResult(file));
        },
        context);
  };
  return c;
}

}  // namespace workstation::console
