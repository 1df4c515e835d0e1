// Feeds each input to the table reader as a generic table (every cell read as
// text, number, whole number and flag) and as each of a study's four tables,
// the others small and valid.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "tests/fuzz/ScratchFile.h"
#include "workstation/store/ImportChecks.h"
#include "workstation/store/StudyTables.h"
#include "workstation/store/TsvTable.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using harvestor_fuzz::Tolerating;
  using workstation::ImportError;
  static const harvestor_fuzz::ScratchFile input("table.tsv"), fragmentsFile("fragments.tsv");
  static const std::string fragments = fragmentsFile.Write(
      "Result Name\tSubject ID\tLocus\tAllele ID\nR1\tS1\tD1\t12\nR3\tS2\tD1\t14\n");
  const std::string& path = input.Write(data, size);
  Tolerating<ImportError>([&] {
    workstation::TsvTable table(path, {{"Result Name", true}, {"Dye"}, {"Scan"}, {"Excluded"}},
                                workstation::OtherColumns{});
    while (table.next()) {
      for (int column = 0; column < table.columns(); ++column) {
        (void)table.text(column);
        // A number the library reads whole comes out to the same bit.
        const std::string_view cell = table.cell(column);
        double expected = 0, got = 0;
        const auto [end, ec] = std::from_chars(cell.data(), cell.data() + cell.size(), expected);
        if (ec == std::errc() && end == cell.data() + cell.size() && std::isfinite(expected) &&
            (!workstation::numberFault(cell, got).empty() ||
             std::memcmp(&got, &expected, sizeof got) != 0)) {
          __builtin_trap();
        }
        Tolerating<ImportError>([&] { (void)table.number(column, 0); });
        Tolerating<ImportError>([&] { (void)table.integer(column, 0, INT32_MIN, INT32_MAX); });
        Tolerating<ImportError>([&] { (void)table.flag(column, false); });
      }
    }
  });
  for (int slot = 0; slot < 4; ++slot) {
    workstation::StudyTableFiles files;
    files.fragments = slot == 0 ? path : fragments;
    if (slot == 1) files.results = path;
    if (slot == 2) files.subjects = path;
    if (slot == 3) files.traces = path;
    Tolerating<ImportError>([&] { (void)workstation::readStudyTables("Fuzz", files); });
  }
  return 0;
}
