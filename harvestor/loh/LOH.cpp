#include "harvestor/loh/LOH.h"

#include <charconv>

#include "harvestor/resultexport/FileName.h"
#include "harvestor/resultexport/ResultExportRoutines.h"
#include "harvestor/service/HError.h"
#include "harvestor/service/HostObjects.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/TextFile.h"

namespace harvestor::LOH {
namespace {

const char* const kTitle = "LOH Analysis";
std::string m_strTemplatesFolder;
std::string m_strExportFolder;
std::string m_strSpreadsheetPath;

void Tell(const std::string& message) {
  HostObjects::UserInterface().MsgBox(message, MsgBoxStyle::OKOnly, kTitle);
}

// The component's folder less its last three characters, then name; a
// folder written with a separator at its end names the same folder.
std::string Sibling(const std::string& name) {
  const std::string folder = FileName::WithoutTrailingSeparators(HostObjects::ComponentFolder());
  if (folder.size() < 3) RaiseError(ErrNo::InvalidProcedureCall);
  return folder.substr(0, folder.size() - 3) + name;
}

void AppendQuoted(std::string& line, std::string_view text) {
  line += '"';
  line += text;
  line += '"';
}

// As printf's %.7G writes the value (to_chars with a precision is %.7g, whose
// letters %G writes in capitals), with the decimal separator given.
void AppendSingle(std::string& line, float value, const std::string& separator) {
  char buf[48];
  const auto end = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value),
                                 std::chars_format::general, 7);
  for (const char* c = buf; c != end.ptr; ++c) {
    if (*c == '.') {
      line += separator;
    } else {
      line += (*c >= 'a' && *c <= 'z') ? static_cast<char>(*c - 'a' + 'A') : *c;
    }
  }
}

// One line of the input file, appended to line. The separator is looked up
// once per file: the user's locale is costly to construct.
void AppendLOHLine(std::string& line, const IStudyResult& result, const std::string& resultName,
                   const IFragment& fragment, const std::string& separator) {
  AppendQuoted(line, resultName);
  line += ',';
  char dye[8];
  line.append(dye, std::to_chars(dye, dye + sizeof dye, fragment.Dye()).ptr);
  line += ',';
  AppendSingle(line, fragment.FragmentSize(), separator);
  line += ',';
  AppendSingle(line, fragment.PeakHeight(), separator);
  line += ',';
  AppendQuoted(line, fragment.Locus());
  line += ',';
  AppendQuoted(line, fragment.AlleleID());
  line += ',';
  AppendQuoted(line, fragment.Comment());
  line += ',';
  AppendSingle(line, LOHPeakArea(result, fragment), separator);
}

}  // namespace

std::string TemplatesFolder() { return m_strTemplatesFolder; }
std::string ExportFolder() { return m_strExportFolder; }
std::string SpreadsheetPath() { return m_strSpreadsheetPath; }
std::string InputFilePath() {
  return ResultExportRoutines::JoinPath(m_strExportFolder, "InputLOH.temp");
}

void LaunchLOHAnalysis(const std::shared_ptr<IStudy>& study) {
  if (!IsExcelInstalled()) return;
  if (!CheckLOHSpreadsheet()) return;
  if (IsLOHRunning()) return;
  if (!study || !WriteLOHInputFile(*study)) return;
  OpenLOHWorkbook();
}

bool IsExcelInstalled() {
  try {
    HostObjects::Spreadsheet().CreateApplication()->Quit();
    return true;
  } catch (...) {
    Tell(
        "Microsoft Excel has not been installed.\r\nTo run LOH, exit the application, install "
        "Microsoft Excel, and restart the application.");
    return false;
  }
}

bool CheckLOHSpreadsheet() {
  m_strTemplatesFolder = Sibling("ReportTemplates");
  m_strExportFolder = Sibling("Export");
  m_strSpreadsheetPath = ResultExportRoutines::JoinPath(m_strTemplatesFolder, "LOH.xls");
  if (FileExists(m_strSpreadsheetPath)) return true;
  Tell(
      "The LOH spreadsheet is missing. \r\nTo run LOH analysis: \r\ninstall file: LOH.xls\r\n"
      "in directory: " +
      m_strTemplatesFolder);
  return false;
}

bool IsLOHRunning() {
  try {
    const auto running = HostObjects::Spreadsheet().RunningApplication();
    if (EqualsNoCase(running->ActiveWorkbook()->FullName(), m_strSpreadsheetPath)) {
      Tell("The LOH analysis is already running.");
      return true;
    }
  } catch (...) {
    // No spreadsheet runs, or it has no active workbook: the analysis is not open.
  }
  return false;
}

bool WriteLOHInputFile(const IStudy& study) {
  try {
    const auto progress = HostObjects::Application().ProgressBar();
    progress->Start(100, 0);
    progress->Advance();
    IFragmentFilter& filter = HostObjects::FragmentFilter();
    TextFileWriter file(InputFilePath());
    const auto refuse = [&file] {
      if (IHostUtility* utility = HostObjects::Utility())
        utility->ReportFileFailure(file.Failure());
      RaiseError(ErrNo::PathFileAccess);
    };
    if (!file.Ok()) refuse();
    file.WriteLine("Result Name,Dye,Fragment Size,Peak Height,Locus,Allele ID,Comment,Peak Area");
    const std::string separator = HostObjects::DecimalSeparator();
    std::string line;
    const auto results = study.Results();
    const std::int32_t count = results->Count();
    for (std::int32_t i = 0; i < count; ++i) {
      const auto studyResult = results->Item(i);
      if (studyResult->Excluded()) continue;
      const std::string resultName = TrimTrailingBlanks(studyResult->Result()->ResultName());
      const auto fragments = studyResult->Fragments();
      const std::int32_t n = fragments->Count();
      for (std::int32_t f = 0; f < n; ++f) {
        const IFragment& fragment = fragments->Item(f);
        const bool own = fragment.Excluded();
        const bool filtered = filter.IsExcluded(fragment);
        if (own || filtered) continue;
        line.clear();
        AppendLOHLine(line, *studyResult, resultName, fragment, separator);
        file.WriteLine(line);
        progress->Advance();
      }
    }
    if (!file.Commit()) refuse();
    progress->Finish();
    return true;
  } catch (...) {
    Tell("Can't create LOH input file. \r\nCheck LOH analysis running, file open or disk full.");
    return false;
  }
}

std::string FormatLOHLine(const IStudyResult& result, const IFragment& fragment) {
  std::string line;
  AppendLOHLine(line, result, TrimTrailingBlanks(result.Result()->ResultName()), fragment,
                HostObjects::DecimalSeparator());
  return line;
}

float LOHPeakArea(const IStudyResult& result, const IFragment& fragment) {
  const auto sample = result.Result()->Sample();
  if (sample->AnalysisRevision() > 1) return fragment.PeakArea();
  const float divisor = fragment.AreaDivisor();
  if (divisor == 0) return 0;
  const double factor = sample->SubjectRecord()->AreaScale() * 10.0 / double{divisor};
  return static_cast<float>(double{fragment.PeakArea()} * factor);
}

void OpenLOHWorkbook() {
  const auto application = HostObjects::Spreadsheet().CreateApplication();
  const auto workbook = application->OpenWorkbook(m_strSpreadsheetPath);
  workbook->Application()->SetVisible(true);
}

std::string FormatSingle(float value) {
  std::string text;
  AppendSingle(text, value, HostObjects::DecimalSeparator());
  return text;
}

}  // namespace harvestor::LOH
