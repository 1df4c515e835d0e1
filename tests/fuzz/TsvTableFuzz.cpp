// Feeds each input to the table reader as a generic table (every cell read as
// text, number, whole number and flag) and as each of a study's four tables.
// A table refused with ImportError is a good outcome; anything else that
// escapes, or a sanitizer report, is a fault.

#include <cstddef>
#include <cstdint>
#include <string>

#include "tests/fuzz/ScratchFile.h"
#include "workstation/store/StudyTables.h"
#include "workstation/store/TsvTable.h"

namespace {

using harvestor_fuzz::ScratchFile;
using workstation::ImportError;
using workstation::TsvTable;

void ReadEveryCell(const std::string& path) {
  TsvTable table(path, {{"Result Name", true}, {"Dye"}, {"Scan"}, {"Excluded"}},
                 workstation::OtherColumns{});
  while (table.next()) {
    for (int column = 0; column < table.columns(); ++column) {
      (void)table.text(column);
      try {
        (void)table.number(column, 0);
      } catch (const ImportError&) {
      }
      try {
        (void)table.integer(column, 0, INT32_MIN, INT32_MAX);
      } catch (const ImportError&) {
      }
      try {
        (void)table.flag(column, false);
      } catch (const ImportError&) {
      }
    }
  }
}

// The input as one table of a study whose other tables are small and valid.
void ReadAsStudyTable(const std::string& input, int slot, const std::string& fragments) {
  workstation::StudyTableFiles files;
  files.fragments = slot == 0 ? input : fragments;
  if (slot == 1) files.results = input;
  if (slot == 2) files.subjects = input;
  if (slot == 3) files.traces = input;
  (void)workstation::readStudyTables("Fuzz", files);
}

const std::string& ValidFragments() {
  static const ScratchFile file("fragments.tsv");
  static const std::string content =
      "Result Name\tSubject ID\tLocus\tAllele ID\nR1\tS1\tD1\t12\nR3\tS2\tD1\t14\n";
  return file.Write(reinterpret_cast<const std::uint8_t*>(content.data()), content.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchFile input("table.tsv");
  const std::string& fragments = ValidFragments();
  const std::string& path = input.Write(data, size);
  try {
    ReadEveryCell(path);
  } catch (const ImportError&) {
  }
  for (int slot = 0; slot < 4; ++slot) {
    try {
      ReadAsStudyTable(path, slot, fragments);
    } catch (const ImportError&) {
    }
  }
  return 0;
}
