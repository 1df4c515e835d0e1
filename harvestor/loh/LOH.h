#pragma once
// The LOH launch: checks that the spreadsheet application and the LOH
// workbook are there and that the analysis is not already open, writes every
// included fragment of the study to InputLOH.temp in the export folder, and
// opens LOH.xls from the report templates folder for the user. It speaks to
// the user only through message boxes titled "LOH Analysis".

#include <memory>
#include <string>

#include "harvestor/service/StudyObjects.h"

namespace harvestor::LOH {

void LaunchLOHAnalysis(const std::shared_ptr<IStudy>& study);
bool IsExcelInstalled();
bool CheckLOHSpreadsheet();
bool IsLOHRunning();
bool WriteLOHInputFile(const IStudy& study);
std::string FormatLOHLine(const IStudyResult& result, const IFragment& fragment);
float LOHPeakArea(const IStudyResult& result, const IFragment& fragment);
void OpenLOHWorkbook();

// A single-precision value as the user's locale writes it: up to 7
// significant digits, the locale's decimal separator.
std::string FormatSingle(float value);

// The folders and paths CheckLOHSpreadsheet computes (empty before it runs).
std::string TemplatesFolder();
std::string ExportFolder();
std::string SpreadsheetPath();
std::string InputFilePath();

}  // namespace harvestor::LOH
