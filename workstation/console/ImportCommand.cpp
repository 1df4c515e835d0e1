#include <algorithm>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "harvestor/genotype/LocusListFile.h"
#include "harvestor/service/TextFile.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/Commands.h"
#include "workstation/store/CallTableReader.h"
#include "workstation/store/GenepopReader.h"
#include "workstation/store/ImportChecks.h"
#include "workstation/store/LinkageReader.h"
#include "workstation/store/NativeResultFile.h"
#include "workstation/store/ReadAhead.h"
#include "workstation/store/StudyStore.h"
#include "workstation/store/StudyTables.h"
#include "workstation/store/TsvTable.h"

namespace workstation::console {
namespace {

// Every format is read result by result into the import's transaction, the
// reading a few results ahead of the writing, on the other core.
int importStreamed(const std::string& store, const std::string& name, const ResultSource& source,
                   CommandContext& context) {
  std::size_t results = 0, fragments = 0;
  importStudy(store, name, [&](const ResultSink& add) {
    readAhead(source)([&](const ImportedResult& result) {
      ++results;
      fragments += result.fragments.size();
      add(result);
    });
  });
  context.out << "Imported study '" << name << "' into " << store << ": " << results << " results, "
              << fragments << " fragments.\n";
  return 0;
}

struct ImportOptions {
  std::string database, name, fragments, results, subjects, traces, calls, genepop, populations,
      linkage, loci;
  std::vector<std::string> natives;
  bool writeLocusList = false;
  bool strict = false;
};

// An unknown column is a line on standard error, or with --strict the end
// of the import: the tables' headers are read before any result is handed
// to the store, so a refusal writes nothing.
ColumnWarning columnWarning(const ImportOptions& o, CommandContext& context) {
  if (o.strict) {
    return
        [](const std::string& message) { throw ImportError(message + "; refused under --strict"); };
  }
  return [&context](const std::string& message) { context.err << message << "\n"; };
}

// Whether the command line gave an option, by its long name.
struct Given {
  const CLI::App& app;
  bool operator()(const std::string& option) const {
    return app.get_option("--" + option)->count() > 0;
  }
};

// One format per import: its own options and none of another's.
void refuseOthers(const Given& given, const std::string& format,
                  const std::vector<std::string>& own) {
  for (const char* other : {"fragments", "results", "subjects", "traces", "native", "calls",
                            "genepop", "populations", "write-locus-list", "linkage", "loci"}) {
    if (given(other) && std::find(own.begin(), own.end(), other) == own.end()) {
      throw UsageError("--" + format + " takes no --" + std::string(other));
    }
  }
}

std::string required(const Given& given, const std::string& option, const std::string& value) {
  if (!given(option)) throw UsageError("--" + option + " is required");
  return value;
}

int importLinkage(const ImportOptions& o, const Given& given, CommandContext& context) {
  refuseOthers(given, "linkage", {"linkage", "loci"});
  const std::string pedigree = required(given, "linkage", o.linkage);
  const std::string loci = required(given, "loci", o.loci);
  requireFile(pedigree);
  requireFile(loci);
  const LinkageReader reader(pedigree, loci);
  return importStreamed(
      o.database, o.name, [&](const ResultSink& add) { reader.read(add); }, context);
}

int importCalls(const ImportOptions& o, const Given& given, CommandContext& context) {
  refuseOthers(given, "calls", {"calls"});
  requireFile(o.calls);
  const CallTableReader reader(o.calls, columnWarning(o, context));
  return importStreamed(
      o.database, o.name, [&](const ResultSink& add) { reader.read(add); }, context);
}

int importGenepop(const ImportOptions& o, const Given& given, CommandContext& context) {
  refuseOthers(given, "genepop", {"genepop", "populations", "write-locus-list"});
  const std::string file = required(given, "genepop", o.genepop);
  requireFile(file);
  if (given("populations")) requireFile(o.populations);
  GenepopReader reader(file, o.populations);
  const int status = importStreamed(
      o.database, o.name, [&](const ResultSink& add) { reader.read(add); }, context);
  if (o.writeLocusList) {
    // Written only once the study is in: a refused file leaves the list alone.
    harvestor::TextFileWriter list(harvestor::LocusListFile::FullName());
    for (const std::string& locus : reader.loci()) list.WriteLine(locus);
    if (!list.Commit()) throw std::runtime_error(list.Failure());
    context.out << "Wrote the locus list " << list.Path() << " (" << reader.loci().size()
                << " loci).\n";
  }
  return status;
}

int importTables(const ImportOptions& o, CommandContext& context) {
  for (const std::string* table : {&o.fragments, &o.results, &o.subjects, &o.traces}) {
    if (!table->empty()) requireFile(*table);
  }
  for (const auto& file : o.natives) requireFile(file);
  if (o.name.empty()) throw ImportError("a study needs a name");
  std::optional<StudyTablesReader> tables;
  if (o.natives.empty() || !o.fragments.empty()) {
    if (o.fragments.empty()) throw UsageError("--fragments is required");
    tables.emplace(StudyTableFiles{o.fragments, o.results, o.subjects, o.traces},
                   columnWarning(o, context));
  }
  // The tables' results, then the native files' in the order given.
  return importStreamed(
      o.database, o.name,
      [&](const ResultSink& add) {
        if (tables) tables->read(add);
        for (const auto& file : o.natives) add(readNativeResult(file));
      },
      context);
}

}  // namespace

Command importCommand() {
  Command c;
  c.name = "import";
  c.summary = "add a study to a study database from tab-delimited tables";
  c.usage =
      "usage: harvestor import STUDY.db -n|--name NAME --fragments FRAGMENTS.tsv\n"
      "                        [--results RESULTS.tsv] [--subjects SUBJECTS.tsv]\n"
      "                        [--traces TRACES.tsv] [--native RESULT.zlu]... [--strict]\n"
      "       harvestor import STUDY.db --name NAME --native RESULT.zlu...\n"
      "       harvestor import STUDY.db --name NAME --calls CALLS.txt [--strict]\n"
      "       harvestor import STUDY.db --name NAME --genepop FILE.gen\n"
      "                        [--populations POPULATIONS.tsv] [--write-locus-list]\n"
      "       harvestor import STUDY.db --name NAME --linkage FILE.pre --loci LOCI.txt\n\n"
      "Adds the study NAME to STUDY.db (created when missing). Every table has a\n"
      "header row; column names match without regard to case. A column the import\n"
      "does not read is named with the one it lies close to:\n"
      "  SUBJECTS.tsv:1: unknown column 'Pedigre ID' (did you mean 'Pedigree ID'?)\n"
      "The fragments, results, traces and --populations tables refuse such a column.\n"
      "The subjects table keeps its other columns as subject properties and warns\n"
      "of one close to a column or to a property the exports read (Pedigree ID,\n"
      "Father ID, Mother ID, Gender, Affectation Status, Liability Class,\n"
      "Population ID); the --calls table warns of every column it ignores except\n"
      "Panel, Run Name and Comments, which the software writes in every table. A\n"
      "warning goes to standard error and the import goes on; --strict refuses the\n"
      "import instead, before anything is written. A subject property far from\n"
      "every known name is read under --strict too.\n"
      "Results exported in the native format (zlu) are added after the tables'\n"
      "results, in the order given. Every value is checked: numbers within the\n"
      "range the export reads them in (dye a 16-bit whole number; sizes, heights,\n"
      "areas and trace values finite single-precision numbers), names and IDs\n"
      "valid UTF-8 without control characters. A traces table lists every scan of\n"
      "a trace from 0 up, with no gaps; the highest scan index is " +
      std::to_string(kMaxScanIndex) +
      ".\nBad input is refused with the file, line and column (the byte offset in a\n"
      "native file), and nothing is written.\n"
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
  c.define = [](CLI::App& app) {
    auto o = std::make_shared<ImportOptions>();
    app.add_option("STUDY.db", o->database, "the study database or server")->required();
    addValue(app, "-n,--name", o->name, "the study's name", "NAME")->required();
    addValue(app, "--fragments", o->fragments, "the fragment table", "FILE");
    addValue(app, "--results", o->results, "the result table", "FILE");
    addValue(app, "--subjects", o->subjects, "the subject table", "FILE");
    addValue(app, "--traces", o->traces, "the trace table", "FILE");
    addValues(app, "--native", o->natives, "a result in the native format; repeatable", "FILE");
    addValue(app, "--calls", o->calls, "an allele-call table", "FILE");
    addValue(app, "--genepop", o->genepop, "a Genepop file", "FILE");
    addValue(app, "--populations", o->populations, "the Genepop subjects' populations", "FILE");
    addSwitch(app, "--write-locus-list", o->writeLocusList, "make the Genepop loci the locus list");
    addValue(app, "--linkage", o->linkage, "a Linkage pre-makeped file", "FILE.pre");
    addValue(app, "--loci", o->loci, "the Linkage file's loci, one per line", "FILE");
    addSwitch(app, "--strict", o->strict, "refuse a table with an unknown column");
    return [o, &app](CommandContext& context) {
      const Given given{app};
      if (given("linkage") || given("loci")) return importLinkage(*o, given, context);
      if (given("calls")) return importCalls(*o, given, context);
      if (given("genepop") || given("populations") || given("write-locus-list")) {
        return importGenepop(*o, given, context);
      }
      return importTables(*o, context);
    };
  };
  return c;
}

}  // namespace workstation::console
