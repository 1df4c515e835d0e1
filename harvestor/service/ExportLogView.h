#pragma once
// Shows the export log in a page's text box: the box holds every line of the
// log in order, each followed by CR LF, with the caret at the end. Only the
// lines added since the last showing are appended, so showing the log after
// every step costs what was added, not what was there.

#include <cstddef>

#include "harvestor/service/Controls.h"

namespace harvestor {

class ExportLogView {
 public:
  void Show(TextBox& box);

 private:
  unsigned long generation_ = 0;
  std::size_t shownLines_ = 0;
  std::size_t shownBytes_ = 0;
};

}  // namespace harvestor
