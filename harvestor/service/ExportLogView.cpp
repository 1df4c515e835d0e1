#include "harvestor/service/ExportLogView.h"

#include <string>

#include "harvestor/service/ErrorLog.h"

namespace harvestor {

void ExportLogView::Show(TextBox& box) {
  const std::vector<std::string>* lines = ErrorLog::Lines();
  const std::size_t count = lines ? lines->size() : 0;
  const bool sameLog = ErrorLog::Generation() == generation_ && count >= shownLines_ &&
                       box.Text().size() == shownBytes_;
  std::string added;
  for (std::size_t i = sameLog ? shownLines_ : 0; i < count; ++i) {
    added.append((*lines)[i]).append("\r\n");
  }
  if (sameLog) {
    box.AppendText(added);
  } else {
    box.Text(std::move(added));
  }
  generation_ = ErrorLog::Generation();
  shownLines_ = count;
  shownBytes_ = box.Text().size();
  box.SelStart(box.Text().size());
  box.Refresh();
}

}  // namespace harvestor
