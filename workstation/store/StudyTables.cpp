#include "workstation/store/StudyTables.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "workstation/store/ImportChecks.h"
#include "workstation/store/TsvTable.h"

namespace workstation {
namespace {

using Index = std::unordered_map<std::string, std::size_t>;

// Finds or appends the result of that name; the first subject ID given for
// a result sticks, and a different one later is an error.
ImportedResult& resultNamed(ImportedStudy& study, Index& index, const std::string& name,
                            const std::string& subjectId, const TsvTable& table, int line) {
  auto [it, added] = index.emplace(name, study.results.size());
  if (added) {
    study.results.emplace_back().name = name;
    study.results.back().subjectId = subjectId;
  }
  ImportedResult& result = study.results[it->second];
  if (!subjectId.empty() && result.subjectId != subjectId) {
    if (!result.subjectId.empty()) {
      table.fail(line, "result '" + name + "' has subject ID '" + result.subjectId +
                           "' and also '" + subjectId + "'");
    }
    result.subjectId = subjectId;
  }
  return result;
}

void readResults(const std::string& path, ImportedStudy& study, Index& index) {
  const TsvTable t = TsvTable::read(
      path,
      {{"Result Name", true}, {"Subject ID"}, {"Excluded"}, {"Analysis Revision"}, {"Area Scale"}});
  const int name = t.column("Result Name"), subject = t.column("Subject ID");
  for (const auto& row : t.rows()) {
    if (index.count(t.text(row, name)))
      t.fail(row.line, "result '" + t.text(row, name) + "' is listed twice");
    ImportedResult& r =
        resultNamed(study, index, t.text(row, name), t.text(row, subject), t, row.line);
    r.excluded = t.flag(row, t.column("Excluded"), false);
    r.analysisRevision = static_cast<std::int32_t>(
        t.integer(row, t.column("Analysis Revision"), 2, INT32_MIN, INT32_MAX));
    r.areaScale = t.number(row, t.column("Area Scale"), 1);
  }
}

void readFragments(const std::string& path, ImportedStudy& study, Index& index) {
  const TsvTable t = TsvTable::read(path, {{"Result Name", true},
                                           {"Subject ID", true},
                                           {"Locus"},
                                           {"Allele ID"},
                                           {"Comment"},
                                           {"Dye"},
                                           {"Fragment Size"},
                                           {"Peak Height"},
                                           {"Peak Area"},
                                           {"Area Divisor"},
                                           {"Condition Code"},
                                           {"Excluded"}});
  const int name = t.column("Result Name"), subject = t.column("Subject ID");
  const int locus = t.column("Locus"), allele = t.column("Allele ID"),
            comment = t.column("Comment");
  const int dye = t.column("Dye"), size = t.column("Fragment Size"),
            height = t.column("Peak Height");
  const int area = t.column("Peak Area"), divisor = t.column("Area Divisor");
  const int condition = t.column("Condition Code"), excluded = t.column("Excluded");
  for (const auto& row : t.rows()) {
    ImportedResult& r =
        resultNamed(study, index, t.text(row, name), t.text(row, subject), t, row.line);
    if (t.text(row, subject) != r.subjectId) {
      t.fail(row.line, "result '" + r.name + "' has subject ID '" + r.subjectId + "' and also '" +
                           t.text(row, subject) + "'");
    }
    StoredFragment& f = r.fragments.emplace_back();
    f.locus = t.text(row, locus);
    f.alleleId = t.text(row, allele);
    f.comment = t.text(row, comment);
    f.dye = static_cast<std::int16_t>(t.integer(row, dye, 1, INT16_MIN, INT16_MAX));
    f.size = t.single(row, size, 0);
    f.height = t.single(row, height, 0);
    f.area = t.single(row, area, 0);
    f.divisor = t.single(row, divisor, 1);
    f.conditionCode = static_cast<std::int32_t>(t.integer(row, condition, 0, INT32_MIN, INT32_MAX));
    f.excluded = t.flag(row, excluded, false);
  }
}

void readSubjects(const std::string& path, ImportedStudy& study, const Index& index) {
  const TsvTable t = TsvTable::read(path, {{"Subject ID", true}, {"Result Name"}}, true);
  const int subject = t.column("Subject ID"), name = t.column("Result Name");
  std::unordered_map<std::string, std::vector<harvestor::PropertyEntry>> bySubject;
  std::unordered_map<std::string, std::vector<harvestor::PropertyEntry>> byResult;
  for (const auto& row : t.rows()) {
    std::vector<harvestor::PropertyEntry> properties;
    // An empty cell is an entry with an empty value: the component reads an
    // empty "Affectation Status" as unknown, not as missing.
    for (int column : t.extraColumns()) {
      properties.push_back({t.heading(column), harvestor::Variant::FromText(t.text(row, column))});
    }
    const std::string id = t.text(row, subject), result = t.text(row, name);
    if (result.empty()) {
      if (!bySubject.emplace(id, std::move(properties)).second) {
        t.fail(row.line, "subject '" + id + "' is listed twice");
      }
      continue;
    }
    const auto it = index.find(result);
    if (it == index.end()) t.fail(row.line, "no result named '" + result + "' in the study");
    if (study.results[it->second].subjectId != id) {
      t.fail(row.line, "result '" + result + "' belongs to subject '" +
                           study.results[it->second].subjectId + "', not '" + id + "'");
    }
    if (!byResult.emplace(result, std::move(properties)).second) {
      t.fail(row.line, "result '" + result + "' is listed twice");
    }
  }
  for (ImportedResult& r : study.results) {
    if (auto own = byResult.find(r.name); own != byResult.end()) {
      r.properties = own->second;
    } else if (auto shared = bySubject.find(r.subjectId);
               shared != bySubject.end() && !r.subjectId.empty()) {
      r.properties = shared->second;
    }
  }
}

// One trace's scans as listed, gathered before the trace is built so that
// memory follows the rows present, not the scan numbers.
struct ListedScan {
  std::int64_t scan;
  float value;
  int line;
};

void readTraces(const std::string& path, ImportedStudy& study, const Index& index) {
  const TsvTable t =
      TsvTable::read(path, {{"Result Name", true}, {"Dye", true}, {"Scan", true}, {"Value", true}});
  const int name = t.column("Result Name"), dye = t.column("Dye");
  const int scan = t.column("Scan"), value = t.column("Value");
  std::map<std::pair<std::size_t, std::size_t>, std::vector<ListedScan>> listed;
  for (const auto& row : t.rows()) {
    const auto it = index.find(t.text(row, name));
    if (it == index.end())
      t.fail(row.line, "no result named '" + t.text(row, name) + "' in the study");
    for (int required : {dye, scan, value}) {
      if (t.text(row, required).empty()) t.fail(row, required, "empty");
    }
    const auto d = static_cast<std::size_t>(t.integer(row, dye, 1, 1, 4));
    listed[{it->second, d - 1}].push_back(
        {t.integer(row, scan, 0, 0, kMaxScanIndex), t.single(row, value, 0), row.line});
  }
  for (auto& [key, scans] : listed) {
    std::stable_sort(scans.begin(), scans.end(),
                     [](const ListedScan& a, const ListedScan& b) { return a.scan < b.scan; });
    const ImportedResult& result = study.results[key.first];
    const std::string trace =
        "dye " + std::to_string(key.second + 1) + " of result '" + result.name + "'";
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
    std::vector<float>& values = study.results[key.first].traces[key.second];
    values.reserve(scans.size());
    for (const ListedScan& s : scans) values.push_back(s.value);
  }
}

}  // namespace

ImportedStudy readStudyTables(const std::string& studyName, const StudyTableFiles& files) {
  if (studyName.empty()) throw ImportError("a study needs a name");
  ImportedStudy study;
  study.name = studyName;
  Index index;
  if (!files.results.empty()) readResults(files.results, study, index);
  readFragments(files.fragments, study, index);
  if (!files.subjects.empty()) readSubjects(files.subjects, study, index);
  if (!files.traces.empty()) readTraces(files.traces, study, index);
  return study;
}

}  // namespace workstation
