#pragma once
// The host framework's page base: created by each page, it carries the
// host's events to the page and gives the page its window and parameter.
// Hosts show a page by raising Initialize, then Activate once as the window
// opens and once as it is shown.

#include <any>
#include <functional>
#include <memory>

#include "harvestor/service/HostFramework.h"

namespace harvestor {

class PageBase {
 public:
  // Events, connected by the page.
  std::function<void(const std::any& lastPanePositions)> Initialize;
  std::function<void()> Activate;
  std::function<void(bool& isValid)> Validate;
  std::function<void()> Save;
  std::function<void(std::any& currentPanePositions)> Terminate;

  // The window showing the page; the host owns it, so it is null once the
  // host has let it go.
  std::shared_ptr<IWindow> Window() const { return window_.lock(); }
  std::any Parameter() const { return parameter_; }
  // Makes the host raise Validate again.
  void Revalidate();

  // Host side.
  void Attach(std::shared_ptr<IWindow> window, std::any parameter,
              std::function<void()> revalidate);
  void RaiseInitialize(const std::any& lastPanePositions = {});
  void RaiseActivate();
  bool RaiseValidate();
  void RaiseSave();
  void RaiseTerminate();

 private:
  std::weak_ptr<IWindow> window_;
  std::any parameter_;
  std::function<void()> revalidate_;
};

// What a host asks of a page object: its page base.
class IPageAccess {
 public:
  virtual ~IPageAccess() = default;
  virtual PageBase& IPageAccess_Page() = 0;
};

// The body of every page's IPageAccess_Page: the page's base, under the
// common error handler as the property get "IPageAccess_Page (Get)" of
// pageClass; a page without a base is error 91.
PageBase& PageAccess(const char* pageClass, const std::shared_ptr<PageBase>& pageBase);

}  // namespace harvestor
