#pragma once
// The console's window manager: it creates the page registered under a name,
// binds the page's controls to the terminal, raises the page base's
// Initialize and then Activate twice (as the window opens and as it is
// shown), telling PageActivate listeners each time. A closed window raises
// Terminate and calls its exit handler.

#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "harvestor/service/Controls.h"
#include "harvestor/service/PageBase.h"
#include "workstation/console/ConsoleDialog.h"

namespace workstation::console {

class ConsoleWindow;

// Shows controls on the terminal. Shown in full (verbose): text on standard
// output as it grows, the export log line by line, and status captions on
// standard error as they change (each new caption once). Otherwise a run
// shows what a person reads: each status caption as it is first set and,
// when flushCaptions is called at the end of the run, the last caption of
// each that changed after that; text boxes and the log are not echoed.
class ConsoleScreen final : public harvestor::IControlObserver {
 public:
  ConsoleScreen(std::ostream& out, std::ostream& err, bool showLog)
      : out_(out), err_(err), showLog_(showLog) {}
  void Changed(const harvestor::Control& control) override;
  void Repainted(const harvestor::Control& control) override;
  void Appended(const harvestor::Control& control, std::string_view added) override;
  void LinesAdded(const harvestor::Control& control, std::size_t first, std::size_t count) override;
  // Prints the captions held back since they were first shown.
  void flushCaptions();
  // Captions name path as name instead: the file an export to standard
  // output is written through is the user's "standard output".
  void showPathAs(std::string path, std::string name) {
    aliasPath_ = std::move(path);
    aliasName_ = std::move(name);
  }

 private:
  void print(const std::string& caption);
  struct Caption {
    std::string shown, last;
  };
  void showCaption(const harvestor::Control& control);
  std::ostream& out_;
  std::ostream& err_;
  bool showLog_;
  // Keyed by the label, in the order the labels were first shown: a label may
  // be gone by the time its caption is flushed, so only the text is kept.
  std::map<const harvestor::Control*, std::size_t> captionOf_;
  std::vector<Caption> captions_;
  std::string aliasPath_, aliasName_;
};

class ConsoleWindowManager final : public harvestor::IWindowManager {
 public:
  using PageFactory = std::function<std::shared_ptr<harvestor::IPageAccess>()>;
  ConsoleWindowManager(std::ostream& out, std::ostream& err, bool showLog = true)
      : screen_(out, err, showLog) {}

  void registerPage(const std::string& name, PageFactory factory);
  void flushCaptions() { screen_.flushCaptions(); }
  void showPathAs(std::string path, std::string name) {
    screen_.showPathAs(std::move(path), std::move(name));
  }
  // A wizard: one window showing its pages one after another.
  void registerWizard(const std::string& name, std::vector<PageFactory> pages);

  std::shared_ptr<harvestor::IWindow> ShowPage(const std::string& pageName,
                                               const std::any& parameter,
                                               harvestor::IWindowExitHandler* exitHandler,
                                               std::int32_t flag) override;
  harvestor::ICommonDialog& CommonDialog() override { return dialog_; }
  void Advise(harvestor::IWindowManagerEvents* sink) override { sinks_.push_back(sink); }
  void Unadvise(harvestor::IWindowManagerEvents* sink) override;

  ConsoleDialog& dialog() { return dialog_; }
  // The page shown last under a name (it may be closed by now), or null.
  std::shared_ptr<harvestor::IPageAccess> lastPage(const std::string& name) const;
  std::shared_ptr<ConsoleWindow> lastWindow(const std::string& name) const;
  // Raises Activate on a shown page again, as a host does when it is refocused.
  void activate(const std::shared_ptr<harvestor::IPageAccess>& page);

 private:
  ConsoleScreen screen_;
  ConsoleDialog dialog_;
  std::shared_ptr<harvestor::IPageAccess> createPage(const PageFactory& factory,
                                                     const std::shared_ptr<ConsoleWindow>& window,
                                                     const std::any& parameter);
  std::map<std::string, PageFactory> factories_;
  std::map<std::string, std::vector<PageFactory>> wizards_;
  std::vector<harvestor::IWindowManagerEvents*> sinks_;
  std::map<std::string,
           std::pair<std::shared_ptr<harvestor::IPageAccess>, std::shared_ptr<ConsoleWindow>>>
      shown_;
};

class ConsoleWindow final : public harvestor::IWindow,
                            public std::enable_shared_from_this<ConsoleWindow> {
 public:
  ConsoleWindow(std::string pageName, std::any parameter,
                harvestor::IWindowExitHandler* exitHandler);
  std::string PageName() const override { return pageName_; }
  std::any Parameter() const override { return parameter_; }
  bool WasCancelled() const override { return cancelled_; }
  void Close() override;
  void EnableButton(std::int32_t button, bool enabled) override;
  void Show() override { shown_ = true; }

  // Closes as the user's Cancel does.
  void cancel();

  // Wizard navigation, as the user's Next and Finish buttons do it. Next
  // moves on only when the page is valid; Finish also needs button 1
  // enabled, then saves every page and closes the window. Both answer
  // whether they did it.
  void addPage(std::shared_ptr<harvestor::IPageAccess> page) { pages_.push_back(std::move(page)); }
  const std::vector<std::shared_ptr<harvestor::IPageAccess>>& pages() const { return pages_; }
  std::size_t currentPage() const { return current_; }
  bool next(ConsoleWindowManager& windows);
  bool finish();
  bool isOpen() const { return open_; }
  bool buttonEnabled(std::int32_t button) const;

 private:
  void finish(bool cancelled);
  std::string pageName_;
  std::any parameter_;
  harvestor::IWindowExitHandler* exitHandler_;
  bool cancelled_ = false;
  bool open_ = true;
  bool shown_ = false;
  std::map<std::int32_t, bool> buttons_;
  std::vector<std::shared_ptr<harvestor::IPageAccess>> pages_;
  std::size_t current_ = 0;
};

}  // namespace workstation::console
