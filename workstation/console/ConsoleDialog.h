#pragma once
// The console's common dialog: the command's options stand for what the
// user would pick. Its properties keep what the component set, so a test or
// the command can read the dialog as it was prepared.

#include <optional>
#include <string>

#include "harvestor/service/HostFramework.h"

namespace workstation::console {

class ConsoleDialog final : public harvestor::ICommonDialog {
 public:
  // What the next ShowSave picks. A choice is used once: a dialog shown
  // again (after a refusal) is cancelled, as a user who has no other name
  // to give would do.
  void choose(std::string fileName, std::int16_t filterIndex);
  int timesShown() const { return shown_; }

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
  const std::string& filter() const { return filter_; }
  std::int32_t flags() const { return flags_; }
  // The file name the component offered before the choice was made.
  const std::string& offered() const { return offered_; }

 private:
  std::string title_, fileName_, filter_, offered_;
  std::int16_t filterIndex_ = 0;
  std::int32_t flags_ = 0;
  bool cancelError_ = false;
  int shown_ = 0;
  std::optional<std::pair<std::string, std::int16_t>> choice_;
};

}  // namespace workstation::console
