#include "system/systemfn.h"

namespace linkvane::systemfn {

std::u16string ExpandEnvironmentString(Platform& platform, const std::u16string& text) {
  const std::uint32_t needed = platform.ExpandEnvironment(text, nullptr, 0);
  if (needed == 0) return std::u16string();
  std::u16string buffer(needed, u'\0');
  const std::uint32_t written = platform.ExpandEnvironment(text, buffer.data(), needed);
  // More than the buffer holds means the environment changed between the calls: the buffer's
  // contents are then not the expansion, so it counts as a failure.
  if (written == 0 || written > needed) return std::u16string();
  buffer.resize(written - 1);
  return buffer;
}

}  // namespace linkvane::systemfn
