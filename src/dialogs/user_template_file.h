#pragma once

// The user's own browser.dat, as /choose changes it: its first line replaced, everything else
// kept byte for byte, in the encoding the file already has.

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace linkvane::chooser {

// The bytes of a browser.dat (now: its bytes, or nothing for no file) with line as its first
// line, in the file's own encoding; a new file is UTF-8 with a byte-order mark. "" when the
// file is to go: line is empty and nothing but line ends would be left. Nothing when the file
// is kept in the ANSI code page and that cannot hold line exactly.
std::optional<std::string> WithFirstLine(Platform& platform, const std::optional<std::string>& now,
                                         std::u16string_view line);

// Makes line the first line of the user's browser.dat at path, atomically, creating its folder
// or removing the file as needed. "" when that was done; else the message that says why not,
// and the file is as it was.
std::u16string SaveFirstLine(Platform& platform, const std::u16string& path,
                             std::u16string_view line);

// Replaces the file at path (or creates it, and its folder) with text in UTF-8, atomically. ""
// when that was done; else the message that says why not, and the file is as it was.
std::u16string SaveUtf8File(Platform& platform, const std::u16string& path,
                            std::u16string_view text);

}  // namespace linkvane::chooser
