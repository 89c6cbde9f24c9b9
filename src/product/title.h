#pragma once

// The program's name as the title of every window it shows: its message boxes and the Open
// dialog. Kept apart from both so that neither has to include the other.

namespace linkvane::product {

inline constexpr char16_t kTitle[] = u"Linkvane";

}  // namespace linkvane::product
