#pragma once
// A page's box showing the export log: as a text box holding every line of
// the log in order, each followed by CR LF, scrolled to its end, but holding
// no text of its own. It reads the log in place, and a host draws only the
// window of lines it has on screen, so showing a log of millions of lines
// copies none of them.
//
// Show() brings the box up to the log as it stands. A host observing the box
// hears Changed, with no lines shown, when a new log has replaced the one
// shown; LinesAdded for the lines added since (the whole of a new log); then
// Repainted. The box keeps the log it shows readable after a new run has
// started another.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "harvestor/service/Controls.h"
#include "harvestor/service/LineArena.h"

namespace harvestor {

class ExportLogBox : public Control {
 public:
  explicit ExportLogBox(std::string name) : Control(std::move(name)) {}

  void Show();

  // The lines shown as of the last Show().
  std::size_t LineCount() const { return shown_; }
  // A line shown, as logged (no line end); empty past the last line shown.
  std::string_view Line(std::size_t index) const;
  // The lines shown in [first, first + count), cut short at the last one.
  LineArena::Window Lines(std::size_t first, std::size_t count) const;
  // What a text box would hold for those lines: each followed by CR LF.
  std::string Text(std::size_t first, std::size_t count) const;

 private:
  std::shared_ptr<const LineArena> log_;
  std::size_t shown_ = 0;
};

}  // namespace harvestor
