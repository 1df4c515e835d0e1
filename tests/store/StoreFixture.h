#pragma once
// What the store tests share: the small study's import tables written into a
// fresh folder, a study database holding them, and a study as its objects
// read it, as text.
#include <gtest/gtest.h>

#include <string>

#include "tests/fakes/TestHost.h"
#include "workstation/store/StudyDatabase.h"
#include "workstation/store/StudyTables.h"

namespace workstation {

class StoreTest : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::string& text) {
    const std::string path = host.Path(name);
    harvestor::testing::WriteFile(path, text);
    return path;
  }
  StudyTableFiles smallTables() {
    StudyTableFiles files;
    files.fragments =
        write("fragments.tsv",
              "result name\tSUBJECT ID\tLocus\tAllele ID\tComment\tDye\tFragment Size\t"
              "Peak Height\tPeak Area\tArea Divisor\tCondition Code\tExcluded\n"
              "R1  \tS1\tD1\t12\tok\t2\t101.5\t900\t9000\t2\t0\t0\n"
              "R1  \tS1\tD1\t14\t\t2\t105.25\t800\t8000\t1\t0\tyes\n"
              "R2\t\t\t\t\t\t\t\t\t\t\t\n"
              "R3\tS1\tD2\t\t\t3\t200\t10\t100\t1\t512\tfalse\n");
    files.results = write("results.tsv",
                          "Result Name\tSubject ID\tExcluded\tAnalysis Revision\tArea Scale\n"
                          "R3\tS1\t1\t3\t1.5\n"
                          "R0\tS9\t0\t\t\n");
    files.subjects = write("subjects.tsv",
                           "Subject ID\tResult Name\tPedigree ID\tGender\tGender\n"
                           "S1\t\tFAM1\t1\t\n"
                           "S1\tR3\tFAM2\t\t2\n");
    files.traces =
        write("traces.tsv",
              "Result Name\tDye\tScan\tValue\nR1  \t1\t0\t5\nR1  \t1\t2\t7.5\nR1  \t4\t0\t1\n"
              "R1  \t1\t1\t0\n");
    return files;
  }
  // A study database file of that name holding the small tables as "Small".
  std::string smallDatabase(const std::string& name) {
    addStudy(host.Path(name), readStudyTables("Small", smallTables()));
    return host.Path(name);
  }
  harvestor::testing::TestHost host;
};

// The study as its objects read it: a line a result, then one a fragment.
inline std::string Dump(StoredStudy& study) {
  const auto results = study.Results();
  std::string dump;
  for (int i = 0; i < results->Count(); ++i) {
    const auto item = results->Item(i);
    const auto sample = item->Result()->Sample();
    dump += item->Result()->ResultName() + (item->Excluded() ? " excluded " : " ") +
            sample->SubjectID() + " rev " + std::to_string(sample->AnalysisRevision()) + " scale " +
            harvestor::Variant::FromNumber(sample->SubjectRecord()->AreaScale()).ToText();
    const auto properties = sample->SubjectRecord()->Properties();
    for (int p = 0; p < properties->Count(); ++p) {
      const auto& v = properties->Item(p).Value;
      dump += " " + properties->Item(p).Name +
              (v.GetKind() == harvestor::Variant::Kind::Number ? "=N:" : "=T:") + v.ToText();
    }
    std::string traces;
    for (std::int16_t dye = 1; dye <= 4; ++dye) {
      std::string values;
      for (float x : sample->Trace(dye))
        values += (values.empty() ? "" : ",") + harvestor::Variant::FromNumber(x).ToText();
      if (!values.empty()) traces += " " + std::to_string(dye) + ":" + values;
    }
    dump += (traces.empty() ? "" : " traces" + traces) + "\n";
    const auto fragments = item->Fragments();
    for (int k = 0; k < fragments->Count(); ++k) {
      const harvestor::IFragment& f = fragments->Item(k);
      dump += " " + f.Locus() + "/" + f.AlleleID() + "/" + f.Comment() + "/" +
              std::to_string(f.ConditionCode()) + "/" + std::to_string(f.Excluded()) + "/" +
              std::to_string(f.Dye()) + "/" + std::to_string(f.FragmentSize()) + "/" +
              std::to_string(f.PeakHeight()) + "/" + std::to_string(f.PeakArea()) + "/" +
              std::to_string(f.AreaDivisor()) + "\n";
    }
  }
  return dump;
}

}  // namespace workstation
