#pragma once
// The desktop's common dialog: a QFileDialog prepared from what the component
// set (DialogTitle, FileName, Filter as "description|pattern|" pairs,
// FilterIndex, Flags) and read back when the user confirms. With CancelError
// set, a cancel raises error 32755 as the classic control does.

#include <QStringList>
#include <functional>
#include <string>

#include "harvestor/service/HostFramework.h"

class QWidget;

namespace workstation::desktop {

namespace DialogFlags {
constexpr std::int32_t OverwritePrompt = 0x2, PathMustExist = 0x800, FileMustExist = 0x1000;
}

class DesktopDialog final : public harvestor::ICommonDialog {
 public:
  void setOwner(QWidget* owner) { owner_ = owner; }

  void SetDialogTitle(const std::string& title) override { title_ = title; }
  std::string FileName() const override { return fileName_; }
  void SetFileName(const std::string& name) override { fileName_ = name; }
  std::int16_t FilterIndex() const override { return filterIndex_; }
  void SetFilterIndex(std::int16_t index) override { filterIndex_ = index; }
  void SetFlags(std::int32_t flags) override { flags_ = flags; }
  std::string Filter() const override { return filter_; }
  void SetFilter(const std::string& filter) override { filter_ = filter; }
  void SetCancelError(bool raise) override { cancelError_ = raise; }
  void ShowSave() override;

  const std::string& title() const { return title_; }
  std::int32_t flags() const { return flags_; }
  // The Qt name filters of a classic filter text, in FilterIndex order.
  static QStringList nameFilters(const std::string& filter);

 private:
  QWidget* owner_ = nullptr;
  std::string title_, fileName_, filter_;
  std::int16_t filterIndex_ = 0;
  std::int32_t flags_ = 0;
  bool cancelError_ = false;
};

}  // namespace workstation::desktop
