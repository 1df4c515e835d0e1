#include "workstation/store/StudyTables.h"

#include <algorithm>
#include <deque>
#include <map>
#include <unordered_map>

#include "workstation/store/ImportChecks.h"
#include "workstation/store/TextPool.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

constexpr std::size_t kNone = static_cast<std::size_t>(-1);

// Consecutive rows of one result in the fragments table.
struct Run {
  std::int64_t offset;
  int line;
  std::int32_t rows;
};

// What is known of a result before its fragments are read.
struct Listed {
  std::string name;
  std::uint32_t subject = 0;  // in the plan's pool
  bool excluded = false;
  std::int32_t analysisRevision = 2;
  double areaScale = 1;
  std::vector<Run> runs;
  bool ownProperties = false;             // the subjects table has a row for this result
  std::vector<std::uint32_t> properties;  // that row's values
};

// The study's results in its order, and what every table but the
// fragments' values says of them.
struct Plan {
  TextPool pool;
  std::deque<Listed> results;  // a deque, so that the index's keys stay put
  std::unordered_map<std::string_view, std::size_t> index;
  std::vector<std::string> propertyNames;
  std::unordered_map<std::uint32_t, std::vector<std::uint32_t>> bySubject;
  std::map<std::pair<std::size_t, std::size_t>, std::vector<float>> traces;  // (result, dye)

  std::size_t find(std::string_view name) const {
    const auto it = index.find(name);
    return it == index.end() ? kNone : it->second;
  }
  Listed& add(std::string_view name, std::uint32_t subject) {
    Listed& listed = results.emplace_back();
    listed.name = name;
    listed.subject = subject;
    index.emplace(listed.name, results.size() - 1);
    return listed;
  }
};

const std::vector<ColumnSpec> kFragmentColumns = {
    {"Result Name", true}, {"Subject ID", true}, {"Locus"},
    {"Allele ID"},         {"Comment"},          {"Dye"},
    {"Fragment Size"},     {"Peak Height"},      {"Peak Area"},
    {"Area Divisor"},      {"Condition Code"},   {"Excluded"}};

void readResults(const std::string& path, Plan& plan) {
  TsvTable t(
      path,
      {{"Result Name", true}, {"Subject ID"}, {"Excluded"}, {"Analysis Revision"}, {"Area Scale"}});
  const int name = t.column("Result Name"), subject = t.column("Subject ID");
  const int excluded = t.column("Excluded"), revision = t.column("Analysis Revision");
  const int scale = t.column("Area Scale");
  while (t.next()) {
    const std::string_view n = t.cell(name);
    if (plan.find(n) != kNone) t.fail(t.line(), "result '" + std::string(n) + "' is listed twice");
    Listed& r = plan.add(n, plan.pool.add(t.cell(subject)));
    r.excluded = t.flag(excluded, false);
    r.analysisRevision = static_cast<std::int32_t>(t.integer(revision, 2, INT32_MIN, INT32_MAX));
    r.areaScale = t.number(scale, 1);
  }
}

// The first pass: where each result's rows stand, and its subject ID. The
// first subject ID given for a result sticks; a different one later is an
// error. A cell equal to one already checked needs no check of its own.
void findFragments(TsvTable& t, Plan& plan) {
  const int name = t.column("Result Name"), subject = t.column("Subject ID");
  std::size_t current = kNone;
  while (t.skim(std::max(name, subject) + 1)) {
    const std::string_view n = t.cell(name), s = t.cell(subject);
    if (current != kNone && plan.results[current].name == n) {
      ++plan.results[current].runs.back().rows;
    } else {
      t.checkText(name);
      t.checkText(subject);
      current = plan.find(n);
      if (current == kNone) {
        plan.add(n, plan.pool.add(s));
        current = plan.results.size() - 1;
      }
      plan.results[current].runs.push_back({t.offset(), t.line(), 1});
    }
    Listed& r = plan.results[current];
    const std::string& has = plan.pool.text(r.subject);
    if (s == has) continue;
    t.checkText(subject);
    if (!has.empty()) {
      t.fail(t.line(), "result '" + r.name + "' has subject ID '" + has + "' and also '" +
                           std::string(s) + "'");
    }
    r.subject = plan.pool.add(s);
  }
}

// The subject properties that the exports read, as the component names them.
const std::vector<std::string> kReadProperties = {
    "Pedigree ID",        "Father ID",       "Mother ID",    "Gender",
    "Affectation Status", "Liability Class", "Population ID"};

void readSubjects(const std::string& path, Plan& plan, const ColumnWarning& warn) {
  TsvTable t(path, {{"Subject ID", true}, {"Result Name"}}, OtherColumns{kReadProperties, warn});
  const int subject = t.column("Subject ID"), name = t.column("Result Name");
  for (int column : t.extraColumns()) plan.propertyNames.push_back(t.heading(column));
  while (t.next()) {
    // An empty cell is an entry with an empty value: the component reads an
    // empty "Affectation Status" as unknown, not as missing.
    std::vector<std::uint32_t> values;
    for (int column : t.extraColumns()) values.push_back(plan.pool.add(t.cell(column)));
    const std::string id(t.cell(subject)), result(t.cell(name));
    if (result.empty()) {
      if (!plan.bySubject.emplace(plan.pool.add(id), std::move(values)).second) {
        t.fail(t.line(), "subject '" + id + "' is listed twice");
      }
      continue;
    }
    const std::size_t at = plan.find(result);
    if (at == kNone) t.fail(t.line(), "no result named '" + result + "' in the study");
    Listed& r = plan.results[at];
    if (plan.pool.text(r.subject) != id) {
      t.fail(t.line(), "result '" + result + "' belongs to subject '" + plan.pool.text(r.subject) +
                           "', not '" + id + "'");
    }
    if (r.ownProperties) t.fail(t.line(), "result '" + result + "' is listed twice");
    r.ownProperties = true;
    r.properties = std::move(values);
  }
}

// One trace's scans as listed, gathered before the trace is built so that
// memory follows the rows present, not the scan numbers.
struct ListedScan {
  std::int64_t scan;
  float value;
  int line;
};

void readTraces(const std::string& path, Plan& plan) {
  TsvTable t(path, {{"Result Name", true}, {"Dye", true}, {"Scan", true}, {"Value", true}});
  const int name = t.column("Result Name"), dye = t.column("Dye");
  const int scan = t.column("Scan"), value = t.column("Value");
  std::map<std::pair<std::size_t, std::size_t>, std::vector<ListedScan>> listed;
  while (t.next()) {
    const std::size_t at = plan.find(t.cell(name));
    if (at == kNone) t.fail(t.line(), "no result named '" + t.text(name) + "' in the study");
    for (int required : {dye, scan, value}) {
      if (t.cell(required).empty()) t.failCell(required, "empty");
    }
    const auto d = static_cast<std::size_t>(t.integer(dye, 1, 1, 4));
    listed[{at, d - 1}].push_back(
        {t.integer(scan, 0, 0, kMaxScanIndex), t.single(value, 0), t.line()});
  }
  for (auto& [key, scans] : listed) {
    std::stable_sort(scans.begin(), scans.end(),
                     [](const ListedScan& a, const ListedScan& b) { return a.scan < b.scan; });
    const std::string trace = "dye " + std::to_string(key.second + 1) + " of result '" +
                              plan.results[key.first].name + "'";
    for (std::size_t i = 0; i < scans.size(); ++i) {
      const auto expected = static_cast<std::int64_t>(i);
      if (scans[i].scan < expected) {
        t.fail(scans[i].line,
               "column '" + t.heading(scan) + "': scan " + std::to_string(scans[i].scan) + " of " +
                   trace + " is listed on line " + std::to_string(scans[i - 1].line) + " too");
      }
      if (scans[i].scan > expected) {
        t.fail(scans[i].line, "column '" + t.heading(scan) + "': " + trace + " has no scan " +
                                  std::to_string(expected) +
                                  " (a trace lists every scan from 0 up)");
      }
    }
    std::vector<float>& values = plan.traces[key];
    values.reserve(scans.size());
    for (const ListedScan& s : scans) values.push_back(s.value);
    scans = {};
  }
}

// The second pass: a result's rows, found by the first, as its fragments.
void readFragments(TsvTable& t, const Listed& listed, std::vector<StoredFragment>& fragments) {
  const int name = t.column("Result Name"), locus = t.column("Locus");
  const int allele = t.column("Allele ID"), comment = t.column("Comment");
  const int dye = t.column("Dye"), size = t.column("Fragment Size");
  const int height = t.column("Peak Height"), area = t.column("Peak Area");
  const int divisor = t.column("Area Divisor"), condition = t.column("Condition Code");
  const int excluded = t.column("Excluded");
  fragments.clear();
  for (const Run& run : listed.runs) {
    t.seek(run.offset, run.line);
    for (std::int32_t i = 0; i < run.rows; ++i) {
      if (!t.next() || t.cell(name) != listed.name) {
        t.fail(t.line(), "the table changed while it was being imported");
      }
      StoredFragment& f = fragments.emplace_back();
      f.locus = t.cell(locus);
      f.alleleId = t.cell(allele);
      f.comment = t.cell(comment);
      f.dye = static_cast<std::int16_t>(t.integer(dye, 1, INT16_MIN, INT16_MAX));
      f.size = t.single(size, 0);
      f.height = t.single(height, 0);
      f.area = t.single(area, 0);
      f.divisor = t.single(divisor, 1);
      f.conditionCode = static_cast<std::int32_t>(t.integer(condition, 0, INT32_MIN, INT32_MAX));
      f.excluded = t.flag(excluded, false);
    }
  }
}

}  // namespace

void StudyTablesReader::read(const ResultSink& add) const {
  Plan plan;
  if (!files_.results.empty()) readResults(files_.results, plan);
  TsvTable fragments(files_.fragments, kFragmentColumns);
  findFragments(fragments, plan);
  if (!files_.subjects.empty()) readSubjects(files_.subjects, plan, warn_);
  if (!files_.traces.empty()) readTraces(files_.traces, plan);

  ImportedResult r;  // reused, so that its buffers are too
  for (std::size_t i = 0; i < plan.results.size(); ++i) {
    Listed& listed = plan.results[i];
    r.name = listed.name;
    r.subjectId = plan.pool.text(listed.subject);
    r.excluded = listed.excluded;
    r.analysisRevision = listed.analysisRevision;
    r.areaScale = listed.areaScale;
    const std::vector<std::uint32_t>* values = nullptr;
    if (listed.ownProperties) {
      values = &listed.properties;
    } else if (const auto shared = plan.bySubject.find(listed.subject);
               shared != plan.bySubject.end() && listed.subject != 0) {
      values = &shared->second;
    }
    r.properties.clear();
    if (values) {
      for (std::size_t k = 0; k < values->size(); ++k) {
        r.properties.push_back(
            {plan.propertyNames[k], harvestor::Variant::FromText(plan.pool.text((*values)[k]))});
      }
    }
    for (std::size_t dye = 0; dye < r.traces.size(); ++dye) {
      r.traces[dye].clear();
      if (const auto trace = plan.traces.find({i, dye}); trace != plan.traces.end()) {
        r.traces[dye] = std::move(trace->second);
        plan.traces.erase(trace);
      }
    }
    readFragments(fragments, listed, r.fragments);
    add(r);
    listed.runs = {};
    listed.properties = {};
  }
}

ImportedStudy readStudyTables(const std::string& studyName, const StudyTableFiles& files,
                              const ColumnWarning& warn) {
  if (studyName.empty()) throw ImportError("a study needs a name");
  ImportedStudy study;
  study.name = studyName;
  StudyTablesReader(files, warn).read([&](const ImportedResult& r) { study.results.push_back(r); });
  return study;
}

}  // namespace workstation
