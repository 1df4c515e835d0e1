#pragma once
// The host's four global objects and the component's environment (its clock
// and the folder it was loaded from). A host installs them once before it
// creates the service; tests install fakes. Nothing else in the component is
// global beyond the export log and the remembered export folder.

#include <memory>
#include <string>

#include "harvestor/service/Clock.h"
#include "harvestor/service/HostFramework.h"
#include "harvestor/service/HostLibraries.h"
#include "harvestor/service/Spreadsheet.h"

namespace harvestor {

struct HostGlobals {
  IHostApplication* HostApplication = nullptr;
  IStudyService* StudyService = nullptr;
  IHostUtility* HostUtility = nullptr;
  IFragmentFilter* FragmentFilter = nullptr;
  IUserInterface* UserInterface = nullptr;
  ISpreadsheetAutomation* Spreadsheet = nullptr;
  IHostLibraries* Libraries = nullptr;
};

struct ComponentEnvironment {
  std::shared_ptr<const IClock> Clock;  // null: the system clock
  std::string ComponentFolder;          // empty: the folder of the running program
  std::string DecimalSeparator;         // empty: the user's locale's
};

namespace HostObjects {

void Install(const HostGlobals& globals);
// The objects installed now (any may be null); never raises.
const HostGlobals& Installed();
void SetEnvironment(ComponentEnvironment environment);

// Each raises error 91 when the host installed none.
IHostApplication& Application();
IStudyService& StudyService();
IFragmentFilter& FragmentFilter();
IHostUtility& HostUtility();
IUserInterface& UserInterface();
ISpreadsheetAutomation& Spreadsheet();
IHostLibraries& Libraries();
// The reporter, or null when no host is installed; never raises.
IHostUtility* Utility();

const IClock& Clock();
// The folder the component was loaded from, without a trailing separator.
std::string ComponentFolder();
// The decimal separator of the user's locale, for numbers written as text.
std::string DecimalSeparator();

}  // namespace HostObjects
}  // namespace harvestor
