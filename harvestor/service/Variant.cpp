#include "harvestor/service/Variant.h"

#include <cstdlib>
#include <utility>

#include "harvestor/service/Text.h"

namespace harvestor {

Variant Variant::FromText(std::string text) {
  Variant v;
  v.kind_ = Kind::Text;
  v.text_ = std::move(text);
  return v;
}

Variant Variant::FromNumber(double number) {
  Variant v;
  v.kind_ = Kind::Number;
  v.number_ = number;
  return v;
}

std::string Variant::ToText() const {
  switch (kind_) {
    case Kind::Empty:
      return "";
    case Kind::Text:
      return text_;
    case Kind::Number:
      return FormatNumber(number_);
  }
  return "";
}

std::optional<double> Variant::ToNumber() const {
  switch (kind_) {
    case Kind::Empty:
      return 0.0;
    case Kind::Number:
      return number_;
    case Kind::Text:
      return ParseNumber(text_);
  }
  return std::nullopt;
}

}  // namespace harvestor
