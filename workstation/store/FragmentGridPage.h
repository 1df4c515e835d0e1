#pragma once
// The workstation's fragment grid page ("FragmentGrid"): shown with a study
// as its parameter, it exports every fragment of the study as CSV (RFC 4180
// quoting, a header row, CR LF line ends). The file is written beside its
// final name and renamed into place, so a failed export leaves any previous
// file whole; Export answers false when the file cannot be written.

#include <cstddef>
#include <optional>
#include <string>

#include "harvestor/service/HostFramework.h"
#include "harvestor/service/PageBase.h"

namespace workstation {

class FragmentGridPage final : public harvestor::IPageAccess, public harvestor::IFragmentGridPage {
 public:
  harvestor::PageBase& IPageAccess_Page() override { return pageBase_; }
  std::optional<bool> Export(const std::string& fileName) override;

  // One CSV field, quoted when it holds a comma, a quote or a line end.
  static std::string csvField(const std::string& text);

  // What the last Export wrote: its fragment rows, and the subjects (keyed
  // without regard to case; a result without a subject ID names none) with a row. Both 0 when it
  // failed.
  std::size_t fragmentsWritten() const { return fragments_; }
  std::size_t subjectsWritten() const { return subjects_; }
  // Why the last Export failed, as the store or the file said: the grid's
  // own answer is only true or false, and its page logs a guess.
  const std::string& failure() const { return failure_; }

 private:
  harvestor::PageBase pageBase_;
  std::size_t fragments_ = 0, subjects_ = 0;
  std::string failure_;
};

}  // namespace workstation
