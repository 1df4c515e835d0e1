#include "workstation/store/FragmentGridPage.h"

#include <any>
#include <charconv>
#include <string_view>
#include <unordered_set>

#include "harvestor/service/Text.h"
#include "harvestor/service/TextFile.h"

namespace workstation {
namespace {

void appendCsvField(std::string& line, std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) {
    line.append(text);
    return;
  }
  line += '"';
  for (char c : text) {
    if (c == '"') line += '"';
    line += c;
  }
  line += '"';
}

void appendNumber(std::string& line, float value) { harvestor::AppendSignificant(line, value, 7); }

}  // namespace

std::string FragmentGridPage::csvField(const std::string& text) {
  std::string field;
  appendCsvField(field, text);
  return field;
}

std::optional<bool> FragmentGridPage::Export(const std::string& fileName) {
  fragments_ = subjects_ = 0;
  failure_.clear();
  std::size_t fragments = 0;
  std::unordered_set<std::string> subjects;
  try {
    const auto study = std::any_cast<std::shared_ptr<harvestor::IStudy>>(pageBase_.Parameter());
    harvestor::TextFileWriter file(fileName);
    const auto failed = [&] {
      failure_ = file.Failure();
      return false;
    };
    if (!file.Ok()) return failed();
    file.WriteLine(
        "Result Name,Subject ID,Dye,Locus,Allele ID,Fragment Size,Peak Height,Peak Area,Comment,"
        "Fragment Excluded,Result Excluded");
    const auto results = study->Results();
    // Each line is made in one reused buffer, the result's own fields once per result.
    std::string prefix, line;
    for (std::int32_t i = 0; i < results->Count(); ++i) {
      const auto studyResult = results->Item(i);
      const auto result = studyResult->Result();
      prefix.clear();
      appendCsvField(prefix, result->ResultName());
      prefix += ',';
      const std::string subject = result->Sample()->SubjectID();
      appendCsvField(prefix, subject);
      prefix += ',';
      const char* const resultExcluded = studyResult->Excluded() ? ",1" : ",0";
      const auto resultFragments = studyResult->Fragments();
      const std::int32_t count = resultFragments->Count();
      fragments += static_cast<std::size_t>(count);
      if (count > 0 && !subject.empty()) subjects.insert(harvestor::LowerCase(subject));
      for (std::int32_t f = 0; f < count; ++f) {
        const harvestor::IFragment& fragment = resultFragments->Item(f);
        line.assign(prefix);
        char dye[8];
        line.append(dye, std::to_chars(dye, dye + sizeof dye, fragment.Dye()).ptr);
        line += ',';
        appendCsvField(line, fragment.Locus());
        line += ',';
        appendCsvField(line, fragment.AlleleID());
        line += ',';
        appendNumber(line, fragment.FragmentSize());
        line += ',';
        appendNumber(line, fragment.PeakHeight());
        line += ',';
        appendNumber(line, fragment.PeakArea());
        line += ',';
        appendCsvField(line, fragment.Comment());
        line += fragment.Excluded() ? ",1" : ",0";
        line += resultExcluded;
        file.WriteLine(line);
      }
    }
    if (!file.Commit()) return failed();
    fragments_ = fragments;
    subjects_ = subjects.size();
    return true;
  } catch (const std::exception& error) {
    failure_ = error.what();
    return false;
  }
}

}  // namespace workstation
