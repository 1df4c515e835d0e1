#include "harvestor/service/Controls.h"

#include <algorithm>
#include <utility>

#include "harvestor/service/HError.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/Text.h"

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

std::size_t ListBox::At(std::int16_t index) const {
  if (index < 0 || static_cast<std::size_t>(index) >= entries_.size()) {
    RaiseError(ErrNo::InvalidProcedureCall);
  }
  return static_cast<std::size_t>(index);
}

std::int16_t ListBox::ListCount() const {
  return ToInt16(static_cast<std::int64_t>(entries_.size()));
}
const std::string& ListBox::List(std::int16_t index) const { return entries_[At(index)].text; }

void ListBox::List(std::int16_t index, std::string text) {
  entries_[At(index)].text = std::move(text);
  NotifyChanged();
}

bool ListBox::Selected(std::int16_t index) const { return entries_[At(index)].selected; }

void ListBox::Selected(std::int16_t index, bool selected) {
  entries_[At(index)].selected = selected;
  NotifyChanged();
}

std::int16_t ListBox::SelCount() const {
  return ToInt16(
      std::count_if(entries_.begin(), entries_.end(), [](const Entry& e) { return e.selected; }));
}

void ListBox::AddItem(std::string text) {
  ToInt16(static_cast<std::int64_t>(entries_.size()) + 1);
  auto at = entries_.end();
  if (sorted_) {
    at = std::upper_bound(
        entries_.begin(), entries_.end(), text,
        [](const std::string& t, const Entry& e) { return LessNoCase(t, e.text); });
  }
  entries_.insert(at, Entry{std::move(text), false});
  NotifyChanged();
}

void ListBox::RemoveItem(std::int16_t index) {
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(At(index)));
  NotifyChanged();
}

void ListBox::Clear() {
  entries_.clear();
  NotifyChanged();
}

std::vector<std::string> ListBox::Items() const {
  std::vector<std::string> out;
  for (const Entry& e : entries_) out.push_back(e.text);
  return out;
}

}  // namespace harvestor
