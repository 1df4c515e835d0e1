// harvestor-desktop: the desktop workstation. With a database path as its
// argument it opens that database (and its study, when it holds only one).

#include <QApplication>
#include <QCommandLineParser>

#include "workstation/console/Layout.h"
#include "workstation/desktop/DesktopHost.h"
#include "workstation/desktop/MainWindow.h"
#include "workstation/spreadsheet/CalcAutomation.h"

int main(int argc, char** argv) {
  QApplication::setHighDpiScaleFactorRoundingPolicy(
      Qt::HighDpiScaleFactorRoundingPolicy::PassThrough);
  QApplication app(argc, argv);
  QApplication::setOrganizationName("Harvestor");
  QApplication::setApplicationName("harvestor-desktop");
  QApplication::setApplicationDisplayName("Harvestor");
  QApplication::setDesktopFileName("harvestor-desktop");
  QApplication::setApplicationVersion(HARVESTOR_DESKTOP_VERSION);

  QCommandLineParser parser;
  parser.setApplicationDescription("The Harvestor desktop workstation.");
  parser.addHelpOption();
  parser.addVersionOption();
  parser.addPositionalArgument("database", "A study database to open.", "[STUDY.db]");
  QCommandLineOption study("study", "The study of the database to open.", "name");
  parser.addOption(study);
  parser.process(app);

  workstation::console::setUpComponentEnvironment();
  workstation::CalcAutomation calc({"soffice", {workstation::console::reportTemplatesFolder()}});
  workstation::desktop::DesktopHost host(&calc);
  workstation::desktop::MainWindow window(host);
  window.show();
  if (!parser.positionalArguments().isEmpty()) {
    const bool opened = window.openDatabase(parser.positionalArguments().front());
    if (opened && parser.isSet(study)) window.openStudy(parser.value(study));
  }
  return app.exec();
}
