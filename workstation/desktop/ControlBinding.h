#pragma once
// Binds a page's controls to widgets: captions to labels, the progress bar to
// a QProgressBar, text boxes to read-only text views, export log boxes to
// list views that read the log's lines in place, list boxes to list
// widgets with multiple selection, check boxes to check boxes and command
// buttons to push buttons that call the page's handlers. As the control's
// observer it keeps each widget in step with what the page sets; what the
// user changes (a tick, a selection) is written back to the control at once,
// so a handler always sees it.

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "harvestor/service/Controls.h"

class QWidget;
class QLayout;

namespace workstation::desktop {

class ControlBinding final : public harvestor::IControlObserver {
 public:
  ControlBinding() = default;
  ~ControlBinding() override;
  ControlBinding(const ControlBinding&) = delete;
  ControlBinding& operator=(const ControlBinding&) = delete;

  // A form holding a widget for each control, laid out in the page's order:
  // a frame followed by its list makes a column, columns side by side, and
  // consecutive buttons a row.
  QWidget* build(const std::vector<harvestor::Control*>& controls, QWidget* parent);
  // The widget bound to a control, or null.
  QWidget* widget(const harvestor::Control& control) const;
  // Stops observing (the page may outlive its window).
  void release();

  void Changed(const harvestor::Control& control) override;
  void Repainted(const harvestor::Control& control) override;
  void Appended(const harvestor::Control& control, std::string_view added) override;
  void LinesAdded(const harvestor::Control& control, std::size_t first, std::size_t count) override;

 private:
  QWidget* makeWidget(harvestor::Control& control, QWidget* parent);
  void writeBackSelection(harvestor::ListBox& box);
  std::map<const harvestor::Control*, QWidget*> widgets_;
  std::vector<harvestor::Control*> observed_;
  bool updating_ = false;  // true while the page's state is copied to a widget
};

}  // namespace workstation::desktop
