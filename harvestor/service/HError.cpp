#include "harvestor/service/HError.h"

#include <utility>

namespace harvestor {

HError::HError(std::int32_t number, std::string source, std::string description,
               std::string helpFile, std::int32_t helpContext)
    : Number(number),
      Source(std::move(source)),
      Description(std::move(description)),
      HelpFile(std::move(helpFile)),
      HelpContext(helpContext) {}

std::string StandardDescription(std::int32_t number) {
  switch (number) {
    case ErrNo::InvalidProcedureCall:
      return "Invalid procedure call or argument";
    case ErrNo::Overflow:
      return "Overflow";
    case ErrNo::OutOfMemory:
      return "Out of memory";
    case ErrNo::SubscriptOutOfRange:
      return "Subscript out of range";
    case ErrNo::DivisionByZero:
      return "Division by zero";
    case ErrNo::TypeMismatch:
      return "Type mismatch";
    case ErrNo::FileNotFound:
      return "File not found";
    case ErrNo::PathFileAccess:
      return "Path/File access error";
    case ErrNo::ObjectNotSet:
      return "Object variable or With block variable not set";
    case ErrNo::DuplicateKey:
      return "This key is already associated with an element of this collection";
    default:
      return "Application-defined or object-defined error";
  }
}

void RaiseError(std::int32_t number) {
  throw HError(number, "Harvestor", StandardDescription(number));
}

void RaiseError(std::int32_t number, std::string description) {
  throw HError(number, "Harvestor", std::move(description));
}

}  // namespace harvestor
