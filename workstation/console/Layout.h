#pragma once
// Where the console and desktop workstations keep things. The component's
// folder holds the program's per-user state with the export folder Export
// and the ReportTemplates folder beside it:
// - in a build tree it is the folder of the harvestor program (build/bin);
// - in an installed system (PREFIX/bin with PREFIX/share/harvestor) it is
//   $XDG_DATA_HOME/harvestor/app (default ~/.local/share/harvestor/app),
//   created on first use, with the templates copied there from the share
//   folder, so nothing writable lives under the install prefix;
// - the environment variable HARVESTOR_COMPONENT_DIR names another
//   component folder (tests use it to work in a temporary tree).

#include <string>

namespace workstation::console {

// Tells the component where it was loaded from, making an installed
// system's per-user folders first; call once at start.
void setUpComponentEnvironment();

std::string programFolder();
// PREFIX/share/harvestor when the program is installed, else empty.
std::string installedShareFolder();
std::string componentFolder();
// The folder holding the component folder (build/, or the per-user folder).
std::string workstationRoot();
std::string demoTablesFolder();
std::string demoDatabasePath();
// ReportTemplates beside the component's folder, where LOH.xls lives.
std::string reportTemplatesFolder();

}  // namespace workstation::console
