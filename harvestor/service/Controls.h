#pragma once
// The controls a page owns, as plain objects holding the state the page sets
// (caption, enabled, visible, value, text, selection start, items). A host
// binds them to a screen through an observer, which hears of every change and
// of every repaint the page asks for; tests read the state directly.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace harvestor {

class Control;

class IControlObserver {
 public:
  virtual ~IControlObserver() = default;
  virtual void Changed(const Control& control) = 0;
  virtual void Repainted(const Control& control) { (void)control; }
  // Text added at the end of a text box, without the rest being touched.
  virtual void Appended(const Control& control, std::string_view added) {
    (void)control, (void)added;
  }
  // Lines [first, first + count) added at the end of a view of lines.
  virtual void LinesAdded(const Control& control, std::size_t first, std::size_t count) {
    (void)control, (void)first, (void)count;
  }
};

class Control {
 public:
  explicit Control(std::string name) : name_(std::move(name)) {}
  virtual ~Control() = default;
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& Name() const { return name_; }
  bool Enabled() const { return enabled_; }
  void Enabled(bool enabled);
  bool Visible() const { return visible_; }
  void Visible(bool visible);
  void Refresh() const;
  void Observe(IControlObserver* observer) { observer_ = observer; }

 protected:
  void NotifyChanged() const;
  IControlObserver* Observer() const { return observer_; }

 private:
  std::string name_;
  bool enabled_ = true;
  bool visible_ = true;
  IControlObserver* observer_ = nullptr;
};

class Label : public Control {
 public:
  Label(std::string name, std::string caption)
      : Control(std::move(name)), caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }
  void Caption(std::string caption);

 private:
  std::string caption_;
};

using Frame = Label;

class ProgressBarControl : public Control {
 public:
  explicit ProgressBarControl(std::string name) : Control(std::move(name)) {}
  float Max() const { return max_; }
  void Max(float max);
  float Value() const { return value_; }
  void Value(float value);

 private:
  float max_ = 100;
  float value_ = 0;
};

// A multi-line text box. Appending is cheap: a host that hears Appended adds
// the new text to what it shows instead of redrawing everything.
class TextBox : public Control {
 public:
  explicit TextBox(std::string name) : Control(std::move(name)) {}
  const std::string& Text() const { return text_; }
  void Text(std::string text);
  void AppendText(std::string_view added);
  std::size_t SelStart() const { return selStart_; }
  void SelStart(std::size_t position);

 private:
  std::string text_;
  std::size_t selStart_ = 0;
};

class CommandButton : public Control {
 public:
  CommandButton(std::string name, std::string caption)
      : Control(std::move(name)), caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }
  void Caption(std::string caption);
  // The page's click handler; a host calls Click() when the user presses it.
  std::function<void()> OnClick;
  void Click() const;

 private:
  std::string caption_;
};

// A check box's value: 0 clear, 1 ticked, 2 grey (counted as ticked).
class CheckBox : public Control {
 public:
  CheckBox(std::string name, std::string caption)
      : Control(std::move(name)), caption_(std::move(caption)) {}
  const std::string& Caption() const { return caption_; }
  std::int16_t Value() const { return value_; }
  void Value(std::int16_t value);
  std::function<void()> OnClick;  // raised when the value changes

 private:
  std::string caption_;
  std::int16_t value_ = 0;
};

// A list box: its entries with their selection; a sorted box keeps its
// entries in alphabetical order (without regard to case), an unsorted one in
// the order they were added. Positions are 0-based; counts are 16-bit.
class ListBox : public Control {
 public:
  ListBox(std::string name, bool sorted) : Control(std::move(name)), sorted_(sorted) {}
  bool Sorted() const { return sorted_; }
  std::int16_t ListCount() const;
  const std::string& List(std::int16_t index) const;
  void List(std::int16_t index, std::string text);
  bool Selected(std::int16_t index) const;
  void Selected(std::int16_t index, bool selected);
  std::int16_t SelCount() const;
  void AddItem(std::string text);
  void RemoveItem(std::int16_t index);
  void Clear();
  std::vector<std::string> Items() const;

 private:
  struct Entry {
    std::string text;
    bool selected = false;
  };
  std::size_t At(std::int16_t index) const;
  bool sorted_;
  std::vector<Entry> entries_;
};

// A page lists its controls so a host can bind them to a screen.
class IHasControls {
 public:
  virtual ~IHasControls() = default;
  virtual std::vector<Control*> Controls() = 0;
};

}  // namespace harvestor
