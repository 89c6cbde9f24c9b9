#pragma once

// UTF-7, the ASCII-only form in which Windows keeps the true, Unicode URL of an Internet
// shortcut in its [InternetShortcut.W] section.

#include <string>
#include <string_view>

namespace linkvane::Module_Main {

// Decodes UTF-7 text: direct characters as they are, "+" runs of base64 UTF-16 ended by "-"
// (absorbed) or by any other character that is not base64, "+-" for "+". A "+" that starts no
// run stays a "+"; a run whose leftover bits do not form a clean end gives U+FFFD.
std::u16string DecodeUtf7(std::u16string_view text);

}  // namespace linkvane::Module_Main
