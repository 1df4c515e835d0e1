#include "workstation/desktop/MainWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QListView>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QSettings>
#include <QSortFilterProxyModel>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QStringListModel>
#include <QTabWidget>
#include <QTableView>
#include <QToolBar>

#include "harvestor/service/HError.h"
#include "workstation/desktop/DesktopHost.h"
#include "workstation/desktop/StudyModels.h"
#include "workstation/store/FragmentGridPage.h"
#include "workstation/store/StoreAddress.h"

#ifndef HARVESTOR_DESKTOP_VERSION
#define HARVESTOR_DESKTOP_VERSION "0.1.0"
#endif

namespace workstation::desktop {
namespace {

constexpr int kRecentCount = 8;

QTableView* sortedView(QStandardItemModel* model, QWidget* parent, const char* name) {
  auto* proxy = new QSortFilterProxyModel(parent);
  proxy->setSourceModel(model);
  proxy->setSortCaseSensitivity(Qt::CaseInsensitive);
  auto* view = new QTableView(parent);
  view->setObjectName(name);
  view->setModel(proxy);
  view->setSortingEnabled(true);
  view->sortByColumn(-1, Qt::AscendingOrder);
  view->setSelectionBehavior(QAbstractItemView::SelectRows);
  view->setEditTriggers(QAbstractItemView::NoEditTriggers);
  view->horizontalHeader()->setStretchLastSection(true);
  view->verticalHeader()->hide();
  return view;
}

}  // namespace

MainWindow::MainWindow(DesktopHost& host, QWidget* parent) : QMainWindow(parent), host_(host) {
  setObjectName("MainWindow");
  setWindowTitle(tr("Harvestor"));
  setWindowIcon(QIcon::fromTheme("harvestor-desktop"));
  host_.setOwner(this);
  host_.ui().setHelp([this] { showHelp(); });
  buildActions();
  buildViews();
  host_.service();
  host_.studies().Advise(this);
  host_.progress().setBar(progress_);
  refreshCommands();
  refreshStudy();
  resize(900, 600);
  restoreGeometry(QSettings().value("mainWindow/geometry").toByteArray());
}

MainWindow::~MainWindow() {
  host_.studies().Unadvise(this);
  host_.setOwner(nullptr);
  host_.ui().setHelp({});
}

void MainWindow::buildActions() {
  QMenu* file = menuBar()->addMenu(tr("&File"));
  QAction* open = file->addAction(QIcon::fromTheme("document-open"), tr("&Open Database..."), this,
                                  [this] { chooseDatabase(); });
  open->setShortcut(QKeySequence::Open);
  file->addAction(QIcon::fromTheme("network-server"), tr("Open &Server Store..."), this,
                  [this] { chooseServerStore(); });
  recentMenu_ = file->addMenu(tr("Open &Recent"));
  closeStudyAction_ = file->addAction(tr("&Close Study"), this, [this] { closeStudy(); });
  file->addSeparator();
  QAction* quit = file->addAction(tr("&Quit"), this, [this] { close(); });
  quit->setShortcut(QKeySequence::Quit);
  fillRecentMenu();

  QMenu* menu = menuBar()->addMenu(tr("&Harvestor"));
  QToolBar* toolbar = addToolBar(tr("Harvestor"));
  toolbar->setObjectName("HarvestorToolbar");
  toolbar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  toolbar->addAction(open);
  toolbar->addSeparator();
  const struct {
    const char* command;
    QString caption;
    const char* icon;
  } commands[] = {{"ExportResult", tr("Export &Results..."), "document-save-as"},
                  {"ExportStudy", tr("Export &Study..."), "document-export"},
                  {"LOH", tr("&LOH Analysis"), "x-office-spreadsheet"},
                  {"LocusListEdit", tr("Edit Locus &List..."), "document-properties"}};
  for (const auto& c : commands) {
    const std::string name = c.command;
    QAction* action = menu->addAction(QIcon::fromTheme(c.icon), c.caption, this,
                                      [this, name] { runCommand(name); });
    action->setObjectName(QString::fromStdString(name));
    toolbar->addAction(action);
    commands_[name] = action;
  }
  commands_["ExportResult"]->setShortcut(QKeySequence(tr("Ctrl+E")));

  QMenu* help = menuBar()->addMenu(tr("&Help"));
  QAction* helpAction = help->addAction(tr("Harvestor &Help"), this, [this] { showHelp(); });
  helpAction->setShortcut(QKeySequence::HelpContents);
  help->addAction(tr("Error &Log"), this, [this] { host_.utility().showLog(); });
  help->addSeparator();
  help->addAction(tr("&About Harvestor"), this, [this] { showAbout(); });
}

void MainWindow::buildViews() {
  auto* splitter = new QSplitter(this);
  studies_ = new QStringListModel(this);
  studiesView_ = new QListView(splitter);
  studiesView_->setObjectName("StudiesView");
  studiesView_->setModel(studies_);
  studiesView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  connect(studiesView_, &QListView::activated, this,
          [this](const QModelIndex& index) { openStudy(index.data().toString()); });
  tabs_ = new QTabWidget(splitter);
  subjects_ = new QStandardItemModel(this);
  results_ = new QStandardItemModel(this);
  subjectsView_ = sortedView(subjects_, tabs_, "SubjectsView");
  resultsView_ = sortedView(results_, tabs_, "ResultsView");
  tabs_->addTab(subjectsView_, tr("S&ubjects"));
  tabs_->addTab(resultsView_, tr("Resul&ts"));
  splitter->setStretchFactor(1, 3);
  setCentralWidget(splitter);
  setTabOrder(studiesView_, tabs_);
  setTabOrder(tabs_, subjectsView_);

  status_ = new QLabel(this);
  statusBar()->addWidget(status_, 1);
  progress_ = new QProgressBar(this);
  progress_->setMaximumWidth(200);
  progress_->hide();
  statusBar()->addPermanentWidget(progress_);
}

QAction* MainWindow::commandAction(const std::string& command) const {
  const auto it = commands_.find(command);
  return it == commands_.end() ? nullptr : it->second;
}

void MainWindow::refreshCommands() {
  for (const auto& [name, action] : commands_) action->setEnabled(host_.commandEnabled(name));
  closeStudyAction_->setEnabled(host_.studies().IsStudyOpen());
}

void MainWindow::refreshStudy() {
  const auto study = host_.studies().CurrentStudy();
  fillSubjects(*subjects_, study.get());
  fillResults(*results_, study.get());
  for (QTableView* view : {subjectsView_, resultsView_}) view->resizeColumnsToContents();
  QString shown =
      host_.database().empty()
          ? tr("No database open")
          : tr("Database: %1").arg(QFileInfo(QString::fromStdString(host_.database())).fileName());
  if (study) shown += tr("   Study: %1").arg(QString::fromStdString(study->StudyName()));
  status_->setText(shown);
  setWindowTitle(study ? tr("%1 - Harvestor").arg(QString::fromStdString(study->StudyName()))
                       : tr("Harvestor"));
}

void MainWindow::StudyOpened(const std::shared_ptr<harvestor::IStudy>&) {
  refreshCommands();
  refreshStudy();
}

void MainWindow::StudyClosed(const std::shared_ptr<harvestor::IStudy>&) {
  refreshCommands();
  refreshStudy();
}

bool MainWindow::openDatabase(const QString& path) {
  std::vector<std::string> names;
  try {
    names = host_.openDatabase(path.toStdString());
  } catch (const std::exception& e) {
    QMessageBox::warning(
        this, tr("Open Database"),
        tr("%1 cannot be opened:\n%2").arg(path, QString::fromStdString(e.what())));
    return false;
  }
  QStringList list;
  for (const auto& name : names) list << QString::fromStdString(name);
  studies_->setStringList(list);
  // A server is remembered by its address as given (it holds no password).
  const bool onServer =
      parseStoreAddress(path.toStdString()).engine == StoreAddress::Engine::PostgreSQL;
  rememberDatabase(onServer ? path : QFileInfo(path).absoluteFilePath());
  refreshStudy();
  if (names.size() == 1) return openStudy(list.front());
  return true;
}

bool MainWindow::openStudy(const QString& name) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  try {
    host_.openStudy(name.toStdString());
  } catch (const std::exception& e) {
    QApplication::restoreOverrideCursor();
    QMessageBox::warning(
        this, tr("Open Study"),
        tr("The study %1 cannot be opened:\n%2").arg(name, QString::fromStdString(e.what())));
    return false;
  }
  QApplication::restoreOverrideCursor();
  const int row = static_cast<int>(studies_->stringList().indexOf(name));
  if (row >= 0) studiesView_->setCurrentIndex(studies_->index(row));
  return true;
}

void MainWindow::closeStudy() { host_.closeStudy(); }

void MainWindow::chooseServerStore() {
  bool ok = false;
  const QString address = QInputDialog::getText(
      this, tr("Open Server Store"),
      tr("PostgreSQL server (postgresql://user@host/database, or postgres: and libpq keywords).\n"
         "The password comes from PGPASSWORD, ~/.pgpass or a service file."),
      QLineEdit::Normal, QStringLiteral("postgresql://"), &ok);
  if (ok && !address.trimmed().isEmpty()) openDatabase(address.trimmed());
}

void MainWindow::chooseDatabase() {
  const QString path = QFileDialog::getOpenFileName(
      this, tr("Open Study Database"), {}, tr("Study databases (*.db *.sqlite);;All files (*)"));
  if (!path.isEmpty()) openDatabase(path);
}

QStringList MainWindow::recentDatabases() const {
  return QSettings().value("recentDatabases").toStringList();
}

void MainWindow::rememberDatabase(const QString& path) {
  QStringList recent = recentDatabases();
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > kRecentCount) recent.removeLast();
  QSettings().setValue("recentDatabases", recent);
  fillRecentMenu();
}

void MainWindow::fillRecentMenu() {
  recentMenu_->clear();
  const QStringList recent = recentDatabases();
  for (int i = 0; i < recent.size(); ++i) {
    const QString path = recent[i];
    recentMenu_->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(path), this,
                           [this, path] { openDatabase(path); });
  }
  recentMenu_->setEnabled(!recent.isEmpty());
}

void MainWindow::runCommand(const std::string& command) {
  harvestor::Service& service = host_.service();
  const int reportsBefore = host_.utility().reports();
  try {
    if (command == "ExportResult") service.ExportResult();
    if (command == "ExportStudy") {
      const auto before = host_.windows().lastPage("FragmentGrid");
      service.ExportStudy();
      showGridFailure(before);
    }
    if (command == "LOH") service.LaunchLOH();
    if (command == "LocusListEdit") service.LaunchLocusListEdit();
  } catch (const harvestor::HError& error) {
    // The component's handlers report what they cover; an error that
    // reached here unreported is the host's to show.
    if (host_.utility().reports() == reportsBefore) {
      host_.utility().ReportError("Harvestor", "Service", command, error, "", 0);
    }
  }
}

// The grid answers the component only true or false, and the component
// logs a guess ("Check file open or disk full"): the store's or the file's
// own reason, which the grid keeps, is the user's to see.
void MainWindow::showGridFailure(const std::shared_ptr<harvestor::IPageAccess>& before) {
  const auto grid =
      std::dynamic_pointer_cast<FragmentGridPage>(host_.windows().lastPage("FragmentGrid"));
  if (!grid || grid == before || grid->failure().empty()) return;
  QMessageBox::warning(this, tr("Export Study"),
                       tr("The CSV file was not written: %1\n\nA file of that name written "
                          "before is left as it was.")
                           .arg(QString::fromStdString(grid->failure())));
}

void MainWindow::showHelp() {
  auto* box = new QMessageBox(
      QMessageBox::Information, tr("Harvestor Help"),
      tr("<p><b>File &gt; Open Database</b> (Ctrl+O) opens a study database; its "
         "studies are listed on the left. Activate one to open it.</p>"
         "<p><b>Export Results</b> (Ctrl+E) writes chosen results as text, native or "
         "CRV trace files. <b>Export Study</b> writes the open study as CSV, Linkage, "
         "Discovery Manager or Genotype Summary Report. <b>LOH Analysis</b> opens the "
         "LOH workbook in LibreOffice Calc. <b>Edit Locus List</b> chooses the loci "
         "that study exports include.</p>"),
      QMessageBox::Close, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setModal(false);
  box->show();
}

void MainWindow::showAbout() {
  QMessageBox::about(
      this, tr("About Harvestor"),
      tr("<p><b>Harvestor</b> %1</p><p>The export service of a genotyping workstation, "
         "on the Qt %2 desktop.</p>")
          .arg(QStringLiteral(HARVESTOR_DESKTOP_VERSION), QString::fromLatin1(qVersion())));
}

void MainWindow::closeEvent(QCloseEvent* event) {
  QSettings().setValue("mainWindow/geometry", saveGeometry());
  host_.windows().closeAll();
  event->accept();
}

}  // namespace workstation::desktop
