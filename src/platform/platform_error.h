#pragma once

#include <cstdint>
#include <exception>
#include <optional>
#include <string>
#include <utility>

namespace linkvane {

// A failure raised by a platform operation, or by a procedure given an argument it cannot use.
class PlatformError : public std::exception {
 public:
  PlatformError(std::int32_t number, std::u16string description)
      : number_(number), description_(std::move(description)) {}

  // The error's number (a Win32 error code, or one of the numbers below).
  std::int32_t Number() const noexcept { return number_; }
  // A human-readable description of the error.
  const std::u16string& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return "linkvane::PlatformError"; }

 private:
  std::int32_t number_;
  std::u16string description_;
};

// Error numbers the logic raises itself; they match the Win32 codes of the same meaning.
inline constexpr std::int32_t kErrorInvalidArgument = 87;  // ERROR_INVALID_PARAMETER
inline constexpr std::int32_t kErrorEndOfFile = 38;        // ERROR_HANDLE_EOF

// Raises the invalid-argument error with the given description.
[[noreturn]] inline void RaiseInvalidArgument(std::u16string description) {
  throw PlatformError(kErrorInvalidArgument, std::move(description));
}

// Runs one statement of a procedure that carries on past failures: a PlatformError raised by
// the statement abandons that statement only, and is handed back so the caller may report it.
template <typename Statement>
std::optional<PlatformError> ContinueOnError(Statement&& statement) {
  try {
    std::forward<Statement>(statement)();
  } catch (const PlatformError& error) {
    return error;
  }
  return std::nullopt;
}

}  // namespace linkvane
