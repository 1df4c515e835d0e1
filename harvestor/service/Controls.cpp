#include "harvestor/service/Controls.h"

#include <utility>

namespace harvestor {

void Control::Enabled(bool enabled) {
  if (enabled_ == enabled) return;
  enabled_ = enabled;
  NotifyChanged();
}

void Control::Visible(bool visible) {
  if (visible_ == visible) return;
  visible_ = visible;
  NotifyChanged();
}

void Control::Refresh() const {
  if (observer_) observer_->Repainted(*this);
}

void Control::NotifyChanged() const {
  if (observer_) observer_->Changed(*this);
}

void Label::Caption(std::string caption) {
  caption_ = std::move(caption);
  NotifyChanged();
}

void ProgressBarControl::Max(float max) {
  if (max_ == max) return;
  max_ = max;
  NotifyChanged();
}

void ProgressBarControl::Value(float value) {
  value_ = value;
  NotifyChanged();
}

void TextBox::Text(std::string text) {
  text_ = std::move(text);
  if (selStart_ > text_.size()) selStart_ = text_.size();
  NotifyChanged();
}

void TextBox::AppendText(std::string_view added) {
  text_.append(added);
  if (Observer()) Observer()->Appended(*this, added);
}

void TextBox::SelStart(std::size_t position) {
  selStart_ = position > text_.size() ? text_.size() : position;
}

void CommandButton::Caption(std::string caption) {
  caption_ = std::move(caption);
  NotifyChanged();
}

void CommandButton::Click() const {
  if (Enabled() && OnClick) OnClick();
}

void CheckBox::Value(std::int16_t value) {
  if (value_ == value) return;
  value_ = value;
  NotifyChanged();
  if (OnClick) OnClick();
}

}  // namespace harvestor
