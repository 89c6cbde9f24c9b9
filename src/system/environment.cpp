#include <optional>

#include "system/systemfn.h"

namespace linkvane::systemfn {

namespace {

constexpr std::int32_t kErrorInvalidData = 13;  // ERROR_INVALID_DATA

// The expansion, or nothing when the platform reports a failure by its result.
std::optional<std::u16string> Expand(Platform& platform, const std::u16string& text) {
  const std::uint32_t needed = platform.ExpandEnvironment(text, nullptr, 0);
  if (needed == 0) return std::nullopt;
  std::u16string buffer(needed, u'\0');
  const std::uint32_t written = platform.ExpandEnvironment(text, buffer.data(), needed);
  // More than the buffer holds means the environment changed between the calls: the buffer's
  // contents are then not the expansion, so it counts as a failure.
  if (written == 0 || written > needed) return std::nullopt;
  buffer.resize(written - 1);
  return buffer;
}

}  // namespace

std::u16string ExpandEnvironmentString(Platform& platform, const std::u16string& text) {
  return Expand(platform, text).value_or(std::u16string());
}

std::u16string ExpandEnvironmentStringChecked(Platform& platform, const std::u16string& text) {
  std::optional<std::u16string> expanded = Expand(platform, text);
  if (!expanded) {
    throw PlatformError(kErrorInvalidData, u"The environment references could not be expanded.");
  }
  return *std::move(expanded);
}

}  // namespace linkvane::systemfn
