#pragma once
// What the component requires of the host framework: the host's progress
// indicator, windows and the window manager, the study service and its
// events, the error reporter with its collection operations, and the
// fragment filter. Hosts implement these; tests fake them.

#include <any>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "harvestor/service/Collection.h"
#include "harvestor/service/HError.h"
#include "harvestor/service/StudyObjects.h"

namespace harvestor {

class IProgressBar {
 public:
  virtual ~IProgressBar() = default;
  virtual void Start(double maximum, double minimum) = 0;
  virtual void Advance() = 0;
  virtual void Finish() = 0;
};

// The host's shared common dialog, used late-bound by the save dialogs.
class ICommonDialog {
 public:
  virtual ~ICommonDialog() = default;
  virtual void SetDialogTitle(const std::string& title) = 0;
  virtual std::string FileName() const = 0;
  virtual void SetFileName(const std::string& name) = 0;
  virtual std::int16_t FilterIndex() const = 0;
  virtual void SetFilterIndex(std::int16_t index) = 0;
  virtual void SetFlags(std::int32_t flags) = 0;
  virtual std::string Filter() const = 0;
  virtual void SetFilter(const std::string& filter) = 0;
  virtual void SetCancelError(bool raise) = 0;
  // Shows the dialog; with CancelError set, a cancel raises an error.
  virtual void ShowSave() = 0;
};

class IWindow {
 public:
  virtual ~IWindow() = default;
  virtual std::string PageName() const = 0;
  virtual std::any Parameter() const = 0;
  virtual bool WasCancelled() const = 0;
  virtual void Close() = 0;
  virtual void EnableButton(std::int32_t button, bool enabled) = 0;
  // Brings the window up; a page that is shown has been activated.
  virtual void Show() = 0;
};

class IWindowExitHandler {
 public:
  virtual ~IWindowExitHandler() = default;
  virtual void OnExit(const std::shared_ptr<IWindow>& window, bool wasCancelled) = 0;
};

class IPageAccess;

class IWindowManagerEvents {
 public:
  virtual ~IWindowManagerEvents() = default;
  // Raised on each activation of any page, with the page object.
  virtual void PageActivate(const std::shared_ptr<IPageAccess>& page) = 0;
};

// ShowPage opens the page registered under a name with a parameter object
// (held in std::any as a shared_ptr of its type). The trailing fixed values
// of the classic call carry nothing and are left out.
class IWindowManager {
 public:
  virtual ~IWindowManager() = default;
  virtual std::shared_ptr<IWindow> ShowPage(const std::string& pageName, const std::any& parameter,
                                            IWindowExitHandler* exitHandler, std::int32_t flag) = 0;
  virtual ICommonDialog& CommonDialog() = 0;
  virtual void Advise(IWindowManagerEvents* sink) = 0;
  virtual void Unadvise(IWindowManagerEvents* sink) = 0;
};

class IHostApplication {
 public:
  virtual ~IHostApplication() = default;
  virtual IWindowManager& WindowManager() = 0;
  virtual std::shared_ptr<IProgressBar> ProgressBar() = 0;
};

class IStudyServiceEvents {
 public:
  virtual ~IStudyServiceEvents() = default;
  virtual void StudyOpened(const std::shared_ptr<IStudy>& study) = 0;
  virtual void StudyClosed(const std::shared_ptr<IStudy>& study) = 0;
};

class IStudyService {
 public:
  virtual ~IStudyService() = default;
  virtual std::shared_ptr<IStudy> CurrentStudy() = 0;
  virtual bool IsStudyOpen() = 0;
  virtual void Advise(IStudyServiceEvents* sink) = 0;
  virtual void Unadvise(IStudyServiceEvents* sink) = 0;
};

class IHostUtility {
 public:
  virtual ~IHostUtility() = default;
  virtual void ReportError(const std::string& component, const std::string& where,
                           const std::string& procedure, const HError& error,
                           const std::string& helpText, std::int32_t helpContext) = 0;
  virtual bool CollectionHasKey(const CollectionBase& collection, std::string_view key) = 0;
  // A new collection of the same objects ordered by the named property.
  virtual std::shared_ptr<CollectionBase> SortCollection(const CollectionBase& collection,
                                                         std::int32_t a, std::int32_t b,
                                                         const std::string& propertyName,
                                                         bool descending) = 0;
  virtual bool DebugMode() = 0;
  // A file could not be written: "PATH: reason". The component's own message
  // is logged as it always was; a host may show this cause beside it.
  virtual void ReportFileFailure(const std::string& /*failure*/) {}
};

// Message box buttons and answers, keystrokes, the mouse pointer and the
// message loop: the host's user-interface services.
namespace MsgBoxStyle {
constexpr std::int32_t OKOnly = 0, OKCancel = 1, YesNo = 4;
constexpr std::int32_t Question = 32, Exclamation = 48, Information = 64;
constexpr std::int32_t DefaultButton2 = 256;
}  // namespace MsgBoxStyle
namespace MsgBoxResult {
constexpr std::int32_t OK = 1, Cancel = 2, Yes = 6, No = 7;
}
namespace MousePointer {
constexpr std::int32_t Default = 0, Hourglass = 11;
}

class IUserInterface {
 public:
  virtual ~IUserInterface() = default;
  // An empty title means the message box carries no caption of its own.
  virtual std::int32_t MsgBox(const std::string& prompt, std::int32_t style,
                              const std::string& title) = 0;
  virtual void SendKeys(const std::string& keys) = 0;
  // Yields to the message loop: whatever the user did meanwhile happens now.
  virtual void DoEvents() = 0;
  virtual std::int32_t MousePointer() = 0;
  virtual void SetMousePointer(std::int32_t pointer) = 0;
};

// The host's fragment grid page, reached late-bound by the study export:
// writes the study's fragments as CSV; true on success, false or nothing
// (null) on failure.
class IFragmentGridPage {
 public:
  virtual ~IFragmentGridPage() = default;
  virtual std::optional<bool> Export(const std::string& fileName) = 0;
};

class IFragmentFilter {
 public:
  virtual ~IFragmentFilter() = default;
  virtual bool IsExcluded(const IFragment& fragment) = 0;
};

}  // namespace harvestor
