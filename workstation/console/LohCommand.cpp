#include <memory>
#include <ostream>

#include "harvestor/loh/LOH.h"
#include "workstation/console/Arguments.h"
#include "workstation/console/Commands.h"
#include "workstation/console/ConsoleHost.h"
#include "workstation/console/Layout.h"
#include "workstation/spreadsheet/CalcAutomation.h"
#include "workstation/store/StudyStore.h"

namespace workstation::console {

Command lohCommand() {
  Command c;
  c.name = "loh";
  c.summary = "write the LOH input file of a study and open the LOH workbook in Calc";
  c.usage =
      "usage: harvestor loh STUDY.db [-s|--study NAME]\n\n"
      "Writes every included fragment of the study to InputLOH.temp in the export\n"
      "folder and opens ReportTemplates/LOH.xls in LibreOffice Calc. The launch stops,\n"
      "saying why, when Calc is missing, the workbook is missing or already open.\n";
  c.define = [](CLI::App& app) {
    struct Options {
      std::string database, study;
    };
    auto o = std::make_shared<Options>();
    app.add_option("STUDY.db", o->database, "the study database or server")->required();
    addValue(app, "-s,--study", o->study, "the study; default: the database's only one", "NAME");
    return [o](CommandContext& context) {
      requireStore(o->database);
      CalcAutomation calc({"soffice", {reportTemplatesFolder()}});
      ConsoleHost host({context.out, context.err, context.in, context.interactive}, &calc);
      host.openStudy(o->database, o->study);
      harvestor::Service& service = host.service();
      try {
        service.LaunchLOH();
      } catch (const harvestor::HError& e) {
        context.err << "harvestor loh: " << e.Description << "\n";
        return 1;
      }
      if (host.ui().messagesShown() > 0) return 1;
      context.out << "Wrote " << harvestor::LOH::InputFilePath() << " and opened "
                  << harvestor::LOH::SpreadsheetPath() << " in LibreOffice Calc.\n";
      return 0;
    };
  };
  return c;
}

}  // namespace workstation::console
