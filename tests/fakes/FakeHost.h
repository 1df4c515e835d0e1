#pragma once
// In-memory fakes of the host framework that record what the component asks
// of them, so tests can assert on progress, pages shown and errors reported.

#include <functional>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "harvestor/service/HostFramework.h"
#include "harvestor/service/Spreadsheet.h"

namespace harvestor::testing {

class FakeProgressBar : public IProgressBar {
 public:
  void Start(double maximum, double minimum) override;
  void Advance() override;  // recorded once for a run of advances
  void Finish() override { calls.push_back("Finish"); }
  std::vector<std::string> calls;  // "Start 3 0", "Advance", "Finish"
  int advances = 0;
};

class FakeCommonDialog : public ICommonDialog {
 public:
  void SetDialogTitle(const std::string& t) override { title = t; }
  std::string FileName() const override { return fileName; }
  void SetFileName(const std::string& n) override { fileName = n; }
  std::int16_t FilterIndex() const override { return filterIndex; }
  void SetFilterIndex(std::int16_t i) override { filterIndex = i; }
  void SetFlags(std::int32_t f) override { flags = f; }
  std::string Filter() const override { return filter; }
  void SetFilter(const std::string& f) override { filter = f; }
  void SetCancelError(bool c) override { cancelError = c; }
  void ShowSave() override;

  std::string title, fileName, filter;
  std::int16_t filterIndex = 0;
  std::int32_t flags = 0;
  bool cancelError = false;
  // What the user does: choose (set fileName/filterIndex) or cancel.
  std::function<void(FakeCommonDialog&)> onShow;
  bool cancel = false;
};

class FakeWindow : public IWindow {
 public:
  std::string PageName() const override { return pageName; }
  std::any Parameter() const override { return parameter; }
  bool WasCancelled() const override { return cancelled; }
  void Close() override { closed = true; }
  void EnableButton(std::int32_t button, bool on) override { buttons.emplace_back(button, on); }
  void Show() override {}
  std::string pageName;
  std::any parameter;
  bool cancelled = false;
  bool closed = false;
  std::vector<std::pair<std::int32_t, bool>> buttons;
};

struct ShowPageCall {
  std::string pageName;
  std::any parameter;
  IWindowExitHandler* exitHandler;
  std::int32_t flag;
};

class FakeWindowManager : public IWindowManager {
 public:
  std::shared_ptr<IWindow> ShowPage(const std::string& pageName, const std::any& parameter,
                                    IWindowExitHandler* exitHandler, std::int32_t flag) override;
  ICommonDialog& CommonDialog() override { return dialog; }
  void Advise(IWindowManagerEvents* sink) override { sinks.push_back(sink); }
  void Unadvise(IWindowManagerEvents* sink) override { std::erase(sinks, sink); }
  void RaisePageActivate(const std::shared_ptr<IPageAccess>& page);
  std::vector<IWindowManagerEvents*> sinks;
  std::vector<ShowPageCall> calls;
  // Lets a test act as the page would (fill the parameter, cancel the window).
  std::function<void(FakeWindow&)> onShow;
  FakeCommonDialog dialog;
};

class FakeHostApplication : public IHostApplication {
 public:
  IWindowManager& WindowManager() override { return windows; }
  std::shared_ptr<IProgressBar> ProgressBar() override { return progress; }
  FakeWindowManager windows;
  std::shared_ptr<FakeProgressBar> progress = std::make_shared<FakeProgressBar>();
};

class FakeStudyService : public IStudyService {
 public:
  std::shared_ptr<IStudy> CurrentStudy() override { return study; }
  bool IsStudyOpen() override { return study != nullptr; }
  void Advise(IStudyServiceEvents* sink) override { sinks.push_back(sink); }
  void Unadvise(IStudyServiceEvents* sink) override { std::erase(sinks, sink); }
  void Open(std::shared_ptr<IStudy> s);
  void Close();
  std::shared_ptr<IStudy> study;
  std::vector<IStudyServiceEvents*> sinks;
};

struct ReportedError {
  std::string component, where, procedure;
  std::int32_t number;
  std::string description;
};

class FakeHostUtility : public IHostUtility {
 public:
  void ReportError(const std::string& component, const std::string& where,
                   const std::string& procedure, const HError& error, const std::string& helpText,
                   std::int32_t helpContext) override;
  bool CollectionHasKey(const CollectionBase& collection, std::string_view key) override {
    return collection.HasKey(key);
  }
  std::shared_ptr<CollectionBase> SortCollection(const CollectionBase& collection, std::int32_t a,
                                                 std::int32_t b, const std::string& propertyName,
                                                 bool descending) override;
  bool DebugMode() override { return false; }
  std::vector<ReportedError> reported;
  // "where.procedure" of each report, in order, for compact assertions.
  std::vector<std::string> ReportedPlaces() const;
};

class FakeUserInterface : public IUserInterface {
 public:
  std::int32_t MsgBox(const std::string& prompt, std::int32_t style,
                      const std::string& title) override;
  void SendKeys(const std::string& keys) override { keysSent.push_back(keys); }
  void DoEvents() override;
  std::int32_t MousePointer() override { return pointer; }
  void SetMousePointer(std::int32_t p) override { pointers.push_back(pointer = p); }

  struct Message {
    std::string prompt;
    std::int32_t style;
    std::string title;
    bool operator==(const Message&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Message& m) {
      return out << '"' << m.prompt << "\" style " << m.style << " \"" << m.title << '"';
    }
  };
  std::vector<Message> messages;
  std::vector<std::int32_t> answers;  // given in order; OK or the default when they run out
  std::vector<std::string> keysSent;
  int yields = 0;
  // Run at the next yield, in order (a click on Cancel, say).
  std::vector<std::function<void()>> atNextYield;
  std::int32_t pointer = MousePointer::Default;
  std::vector<std::int32_t> pointers;
};

class FakeSpreadsheet : public ISpreadsheetAutomation {
 public:
  std::shared_ptr<ISpreadsheetApplication> CreateApplication() override;
  std::shared_ptr<ISpreadsheetApplication> RunningApplication() override;
  bool installed = true;
  std::string activeWorkbook;      // empty: no instance runs
  std::vector<std::string> calls;  // "Create", "Quit", "Running", "Open PATH", "Visible"
};

class FakeFragmentFilter : public IFragmentFilter {
 public:
  bool IsExcluded(const IFragment& fragment) override {
    ++asked;
    return predicate && predicate(fragment);
  }
  std::function<bool(const IFragment&)> predicate;
  int asked = 0;
};

}  // namespace harvestor::testing
