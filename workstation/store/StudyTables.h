#pragma once
// Reads a study from the tab-delimited tables a lab exports from its analysis
// software: fragments (required), results, subjects and traces (optional).
// Every table is checked whole before anything is written; bad input is
// refused with the file name, line number and what is wrong.

#include <string>

#include "workstation/store/ImportedStudy.h"

namespace workstation {

struct StudyTableFiles {
  std::string fragments;
  std::string results;   // optional
  std::string subjects;  // optional
  std::string traces;    // optional
};

ImportedStudy readStudyTables(const std::string& studyName, const StudyTableFiles& files);

}  // namespace workstation
