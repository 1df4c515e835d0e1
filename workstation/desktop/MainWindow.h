#pragma once
// The desktop's main window: it opens a study database (File > Open, the
// command line, or the recent list), lists the database's studies and shows
// the open study's subjects and results in sortable views. The Harvestor
// menu and toolbar call the service's four commands; each action is enabled
// as the service's Commands say, read again whenever a study opens or closes.

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <string>

#include "harvestor/service/HostFramework.h"

class QAction;
class QLabel;
class QListView;
class QMenu;
class QProgressBar;
class QStandardItemModel;
class QStringListModel;
class QTableView;
class QTabWidget;

namespace workstation::desktop {

class DesktopHost;

class MainWindow final : public QMainWindow, public harvestor::IStudyServiceEvents {
 public:
  // Shows the About box: the version and the Qt it runs on.
  void showAbout();
  explicit MainWindow(DesktopHost& host, QWidget* parent = nullptr);
  ~MainWindow() override;

  // Opens a database and, when it holds one study, that study; false (with
  // a message) when the file is no study database.
  bool openDatabase(const QString& path);
  bool openStudy(const QString& name);
  void closeStudy();

  // The action of a host command ("ExportResult", "ExportStudy", "LOH", "LocusListEdit").
  QAction* commandAction(const std::string& command) const;
  QTableView* subjectsView() const { return subjectsView_; }
  QTableView* resultsView() const { return resultsView_; }
  QListView* studiesView() const { return studiesView_; }
  QStringList recentDatabases() const;

  void StudyOpened(const std::shared_ptr<harvestor::IStudy>& study) override;
  void StudyClosed(const std::shared_ptr<harvestor::IStudy>& study) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void buildActions();
  void buildViews();
  void refreshCommands();
  void refreshStudy();
  void rememberDatabase(const QString& path);
  void fillRecentMenu();
  void runCommand(const std::string& command);
  void showGridFailure(const std::shared_ptr<harvestor::IPageAccess>& before);
  void showHelp();
  void chooseDatabase();
  void chooseServerStore();

  DesktopHost& host_;
  std::map<std::string, QAction*> commands_;
  QAction* closeStudyAction_ = nullptr;
  QMenu* recentMenu_ = nullptr;
  QListView* studiesView_ = nullptr;
  QStringListModel* studies_ = nullptr;
  QTabWidget* tabs_ = nullptr;
  QTableView* subjectsView_ = nullptr;
  QTableView* resultsView_ = nullptr;
  QStandardItemModel* subjects_ = nullptr;
  QStandardItemModel* results_ = nullptr;
  QLabel* status_ = nullptr;
  QProgressBar* progress_ = nullptr;
};

}  // namespace workstation::desktop
