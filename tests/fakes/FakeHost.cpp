#include "tests/fakes/FakeHost.h"

#include "harvestor/service/CollectionSort.h"
#include "harvestor/service/Text.h"

namespace harvestor::testing {

void FakeProgressBar::Start(double maximum, double minimum) {
  calls.push_back("Start " + FormatNumber(maximum) + " " + FormatNumber(minimum));
}
void FakeProgressBar::Advance() {
  ++advances;
  if (calls.empty() || calls.back() != "Advance") calls.push_back("Advance");
}

void FakeCommonDialog::ShowSave() {
  if (onShow) onShow(*this);
  if (cancel && cancelError) throw HError(32755, "CommonDialog", "Cancel was selected.");
}

std::shared_ptr<IWindow> FakeWindowManager::ShowPage(const std::string& pageName,
                                                     const std::any& parameter,
                                                     IWindowExitHandler* exitHandler,
                                                     std::int32_t flag) {
  calls.push_back({pageName, parameter, exitHandler, flag});
  auto window = std::make_shared<FakeWindow>();
  window->pageName = pageName;
  window->parameter = parameter;
  if (onShow) onShow(*window);
  return window;
}

void FakeWindowManager::RaisePageActivate(const std::shared_ptr<IPageAccess>& page) {
  for (auto* sink : std::vector<IWindowManagerEvents*>(sinks)) sink->PageActivate(page);
}

std::int32_t FakeUserInterface::MsgBox(const std::string& prompt, std::int32_t style,
                                       const std::string& title) {
  messages.push_back({prompt, style, title});
  if (!answers.empty()) {
    const std::int32_t answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  if ((style & 7) == MsgBoxStyle::YesNo) {
    return (style & MsgBoxStyle::DefaultButton2) ? MsgBoxResult::No : MsgBoxResult::Yes;
  }
  if ((style & 7) == MsgBoxStyle::OKCancel && (style & MsgBoxStyle::DefaultButton2)) {
    return MsgBoxResult::Cancel;
  }
  return MsgBoxResult::OK;
}

void FakeUserInterface::DoEvents() {
  ++yields;
  auto pending = std::move(atNextYield);
  atNextYield.clear();
  for (auto& action : pending) action();
}

namespace {

struct FakeWorkbook;

struct FakeSpreadsheetApp : ISpreadsheetApplication,
                            std::enable_shared_from_this<FakeSpreadsheetApp> {
  explicit FakeSpreadsheetApp(FakeSpreadsheet& o) : owner(o) {}
  std::shared_ptr<ISpreadsheetWorkbook> ActiveWorkbook() override;
  std::shared_ptr<ISpreadsheetWorkbook> OpenWorkbook(const std::string& path) override;
  void SetVisible(bool) override { owner.calls.push_back("Visible"); }
  void Quit() override { owner.calls.push_back("Quit"); }
  FakeSpreadsheet& owner;
};

struct FakeWorkbook : ISpreadsheetWorkbook {
  FakeWorkbook(std::string n, std::shared_ptr<FakeSpreadsheetApp> a)
      : name(std::move(n)), app(std::move(a)) {}
  std::string FullName() override { return name; }
  std::shared_ptr<ISpreadsheetApplication> Application() override { return app; }
  std::string name;
  std::shared_ptr<FakeSpreadsheetApp> app;
};

std::shared_ptr<ISpreadsheetWorkbook> FakeSpreadsheetApp::ActiveWorkbook() {
  if (owner.activeWorkbook.empty()) throw HError(91, "Spreadsheet", "No active workbook");
  return std::make_shared<FakeWorkbook>(owner.activeWorkbook, shared_from_this());
}

std::shared_ptr<ISpreadsheetWorkbook> FakeSpreadsheetApp::OpenWorkbook(const std::string& path) {
  owner.calls.push_back("Open " + path);
  return std::make_shared<FakeWorkbook>(path, shared_from_this());
}

}  // namespace

std::shared_ptr<ISpreadsheetApplication> FakeSpreadsheet::CreateApplication() {
  calls.push_back("Create");
  if (!installed) throw HError(429, "Spreadsheet", "ActiveX component can't create object");
  return std::make_shared<FakeSpreadsheetApp>(*this);
}

std::shared_ptr<ISpreadsheetApplication> FakeSpreadsheet::RunningApplication() {
  calls.push_back("Running");
  if (activeWorkbook.empty()) throw HError(429, "Spreadsheet", "No instance is running");
  return std::make_shared<FakeSpreadsheetApp>(*this);
}

void FakeStudyService::Open(std::shared_ptr<IStudy> s) {
  study = std::move(s);
  for (auto* sink : sinks) sink->StudyOpened(study);
}
void FakeStudyService::Close() {
  auto closing = study;
  study = nullptr;
  for (auto* sink : sinks) sink->StudyClosed(closing);
}

void FakeHostUtility::ReportError(const std::string& component, const std::string& where,
                                  const std::string& procedure, const HError& error,
                                  const std::string&, std::int32_t) {
  reported.push_back({component, where, procedure, error.Number, error.Description});
}

std::shared_ptr<CollectionBase> FakeHostUtility::SortCollection(const CollectionBase& collection,
                                                                std::int32_t, std::int32_t,
                                                                const std::string& propertyName,
                                                                bool descending) {
  return SortByProperty(collection, propertyName, descending);
}

std::vector<std::string> FakeHostUtility::ReportedPlaces() const {
  std::vector<std::string> out;
  for (const auto& r : reported) out.push_back(r.where + "." + r.procedure);
  return out;
}

}  // namespace harvestor::testing
