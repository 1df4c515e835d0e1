#pragma once
// The desktop's host services: the progress indicator (a bar in the main
// window's status bar), and the error reporter. Each reported error shows in
// a dialog naming the component, class, procedure, number and description,
// and is added to the error log the user can open from the Help menu; the
// console's reporter also prints it on standard error and does the
// collection operations.

#include <QPointer>
#include <QProgressBar>
#include <QStringList>
#include <functional>
#include <iostream>

#include "harvestor/service/HostFramework.h"
#include "workstation/console/ConsoleServices.h"

class QWidget;

namespace workstation::desktop {

class DesktopProgress final : public harvestor::IProgressBar {
 public:
  void setBar(QProgressBar* bar) { bar_ = bar; }
  void Start(double maximum, double minimum) override;
  void Advance() override;
  void Finish() override;

 private:
  QPointer<QProgressBar> bar_;
  double maximum_ = 0, value_ = 0;
};

class DesktopUtility final : public harvestor::IHostUtility {
 public:
  DesktopUtility() : console_(std::cerr) {}
  void setOwner(QWidget* owner) { owner_ = owner; }

  void ReportError(const std::string& component, const std::string& where,
                   const std::string& procedure, const harvestor::HError& error,
                   const std::string& helpText, std::int32_t helpContext) override;
  bool CollectionHasKey(const harvestor::CollectionBase& collection,
                        std::string_view key) override {
    return console_.CollectionHasKey(collection, key);
  }
  std::shared_ptr<harvestor::CollectionBase> SortCollection(
      const harvestor::CollectionBase& collection, std::int32_t a, std::int32_t b,
      const std::string& propertyName, bool descending) override {
    return console_.SortCollection(collection, a, b, propertyName, descending);
  }
  bool DebugMode() override { return false; }

  int reports() const { return static_cast<int>(log_.size()); }
  // Every report so far, one line each, oldest first.
  const QStringList& log() const { return log_; }
  // The error dialog shown last (it may be closed by now), or null.
  QWidget* lastDialog() const { return lastDialog_; }
  // Opens a window listing the error log.
  void showLog();

 private:
  console::ConsoleUtility console_;
  QWidget* owner_ = nullptr;
  QStringList log_;
  QPointer<QWidget> lastDialog_;
};

}  // namespace workstation::desktop
