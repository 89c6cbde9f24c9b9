#pragma once

// Replacing a file so that no failure loses it: whatever step fails, a file stays at its path
// (the old one, else the new one), or the box can name where the old one is.

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace linkvane::chooser {

// How a replacement ended.
struct Replacement {
  std::optional<PlatformError> failure;  // nothing: the new bytes are at the path
  std::u16string old_file_at;            // when no file is left at the path: where the old one is
};

// Puts bytes in the place of the file at path, or creates it: written to a working file beside
// it first, which then takes the old one's place while the old one is kept as a backup until
// the new one is in.
Replacement ReplaceSafely(Platform& platform, const std::u16string& path, std::string_view bytes);

}  // namespace linkvane::chooser
