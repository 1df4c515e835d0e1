#include "workstation/store/FragmentGridPage.h"

#include <any>

#include "harvestor/service/Text.h"
#include "harvestor/service/TextFile.h"

namespace workstation {
namespace {

std::string number(float value) { return harvestor::FormatSignificant(value, 7); }

}  // namespace

std::string FragmentGridPage::csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::optional<bool> FragmentGridPage::Export(const std::string& fileName) {
  try {
    const auto study = std::any_cast<std::shared_ptr<harvestor::IStudy>>(pageBase_.Parameter());
    harvestor::TextFileWriter file(fileName);
    if (!file.Ok()) return false;
    file.WriteLine(
        "Result Name,Subject ID,Dye,Locus,Allele ID,Fragment Size,Peak Height,Peak Area,Comment,"
        "Fragment Excluded,Result Excluded");
    const auto results = study->Results();
    for (std::int32_t i = 0; i < results->Count(); ++i) {
      const auto studyResult = results->Item(i);
      const auto result = studyResult->Result();
      const std::string prefix =
          csvField(result->ResultName()) + "," + csvField(result->Sample()->SubjectID()) + ",";
      const std::string resultExcluded = studyResult->Excluded() ? "1" : "0";
      const auto fragments = studyResult->Fragments();
      for (std::int32_t f = 0; f < fragments->Count(); ++f) {
        const harvestor::IFragment& fragment = fragments->Item(f);
        file.WriteLine(prefix + std::to_string(fragment.Dye()) + "," + csvField(fragment.Locus()) +
                       "," + csvField(fragment.AlleleID()) + "," + number(fragment.FragmentSize()) +
                       "," + number(fragment.PeakHeight()) + "," + number(fragment.PeakArea()) +
                       "," + csvField(fragment.Comment()) + "," +
                       (fragment.Excluded() ? "1" : "0") + "," + resultExcluded);
      }
    }
    return file.Commit();
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace workstation
