// LibreOffice Calc as the spreadsheet application: a program that is missing,
// a window it cannot open without a display, and a stale lock file.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdlib>
#include <filesystem>

#include "harvestor/service/HError.h"
#include "tests/fakes/TestHost.h"
#include "workstation/spreadsheet/CalcAutomation.h"

namespace workstation {
namespace {

using harvestor::testing::WriteFile;

TEST(CalcAutomationTest, AMissingProgramCannotBeStarted) {
  CalcAutomation calc({"no-such-calc-program", {}});
  EXPECT_EQ(calc.programPath(), "");
  try {
    calc.CreateApplication();
    FAIL();
  } catch (const harvestor::HError& e) {
    EXPECT_NE(e.Description.find("not installed"), std::string::npos);
  }
  EXPECT_THROW(calc.RunningApplication(), harvestor::HError);
  EXPECT_EQ(calcLockFile("/data/ReportTemplates/LOH.xls"), "/data/ReportTemplates/.~lock.LOH.xls#");
}

TEST(CalcAutomationTest, WithoutADisplayOpeningSaysSoPlainly) {
  harvestor::testing::TestHost host;
  const std::string fakeCalc = host.Path("soffice");
  WriteFile(fakeCalc, "#!/bin/sh\nexit 0\n");
  std::filesystem::permissions(fakeCalc, std::filesystem::perms::owner_all);
  CalcAutomation calc({fakeCalc, {host.root}});
  const char* display = std::getenv("DISPLAY");
  const std::string saved = display ? display : "";
  ::unsetenv("DISPLAY");
  ::unsetenv("WAYLAND_DISPLAY");
  try {
    calc.CreateApplication()->OpenWorkbook(host.Path("LOH.xls"));
    FAIL();
  } catch (const harvestor::HError& e) {
    EXPECT_NE(e.Description.find("there is no display"), std::string::npos);
  }
  if (!saved.empty()) ::setenv("DISPLAY", saved.c_str(), 1);
  // A lock file without a live Calc is a stale one: no workbook is open.
  WriteFile(host.Path("LOH.xls"), "x");
  WriteFile(calcLockFile(host.Path("LOH.xls")), "user,host;");
  if (!calcIsRunning()) {
    EXPECT_EQ(calc.openWorkbook(), "");
  }
}

}  // namespace
}  // namespace workstation
