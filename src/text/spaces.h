#pragma once

#include <string>
#include <string_view>

namespace linkvane {

// The text without the space characters (U+0020 only) at its start and end.
std::u16string TrimSpaces(std::u16string_view text);

}  // namespace linkvane
