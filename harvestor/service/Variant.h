#pragma once
// A property value as the study objects hand it out: empty, text or a number.
// Conversions follow the classic rules the component was written against:
// an empty value is "" as text and 0 as a number; text converts to a number
// only when it reads as one.

#include <optional>
#include <string>

namespace harvestor {

class Variant {
 public:
  enum class Kind { Empty, Text, Number };

  Variant() = default;
  static Variant FromText(std::string text);
  static Variant FromNumber(double number);

  Kind GetKind() const { return kind_; }
  bool IsEmpty() const { return kind_ == Kind::Empty; }

  // The value as text; numbers in their shortest ordinary decimal form.
  std::string ToText() const;
  // The value as a number: empty and blank text give 0, other text that is
  // no number gives nothing.
  std::optional<double> ToNumber() const;

  friend bool operator==(const Variant&, const Variant&) = default;

 private:
  Kind kind_ = Kind::Empty;
  std::string text_;
  double number_ = 0;
};

}  // namespace harvestor
