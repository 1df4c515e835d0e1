#pragma once
// The component's one error type. It carries what an error carries through
// the host: number, source, description, help file and help context. The
// classic numbers are named in ErrNo.

#include <cstdint>
#include <exception>
#include <string>

namespace harvestor {

namespace ErrNo {
constexpr std::int32_t InvalidProcedureCall = 5;
constexpr std::int32_t Overflow = 6;
constexpr std::int32_t OutOfMemory = 7;
constexpr std::int32_t SubscriptOutOfRange = 9;
constexpr std::int32_t DivisionByZero = 11;
constexpr std::int32_t TypeMismatch = 13;
constexpr std::int32_t FileNotFound = 53;
constexpr std::int32_t PathFileAccess = 75;
constexpr std::int32_t ObjectNotSet = 91;
constexpr std::int32_t DuplicateKey = 457;
}  // namespace ErrNo

class HError : public std::exception {
 public:
  HError(std::int32_t number, std::string source, std::string description,
         std::string helpFile = "", std::int32_t helpContext = 0);

  const char* what() const noexcept override { return Description.c_str(); }

  std::int32_t Number;
  std::string Source;
  std::string Description;
  std::string HelpFile;
  std::int32_t HelpContext;
};

// The description the classic runtime gives each number it raises.
std::string StandardDescription(std::int32_t number);

// Raises a classic error with its standard description and the component as source.
[[noreturn]] void RaiseError(std::int32_t number);
[[noreturn]] void RaiseError(std::int32_t number, std::string description);

}  // namespace harvestor
