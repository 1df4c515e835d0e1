#pragma once
// Where the console workstation keeps things. The component's folder is the
// folder of the harvestor program (build/bin, or an installed bin), with the
// export folder Export and the ReportTemplates folder beside it; the
// environment variable HARVESTOR_COMPONENT_DIR names another component
// folder (tests use it to work in a temporary tree).

#include <string>

namespace workstation::console {

// Tells the component where it was loaded from; call once at start.
void setUpComponentEnvironment();

std::string programFolder();
std::string componentFolder();
// The folder holding the component folder (build/, or the install prefix).
std::string workstationRoot();
std::string demoTablesFolder();
std::string demoDatabasePath();
// ReportTemplates beside the component's folder, where LOH.xls lives.
std::string reportTemplatesFolder();

}  // namespace workstation::console
