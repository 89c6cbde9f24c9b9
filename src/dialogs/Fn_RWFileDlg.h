#pragma once

// The Open/Save common-dialog wrapper and the start-up choice of a shortcut file.

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace linkvane::Fn_RWFileDlg {

// The three texts exchanged with the dialog, in and out.
struct FileDialogRecord {
  std::u16string FileName;  // in: proposed name; out: the full path chosen
  std::u16string
      Directory;  // in: the folder to open in; out: the chosen path's folder, "\" included
  std::u16string FileTitle;  // in: the default extension; out: the chosen file's name
};

inline constexpr std::uint32_t kDefaultSaveFlags = 0x0210880E;
inline constexpr std::uint32_t kDefaultOpenFlags = 0x0210180C;
inline constexpr std::int32_t kDialogCancelled = -1;

// Shows the Save dialog (save non-zero) or the Open dialog; 0 when a file was chosen, -1 on
// cancel, else the dialog's extended error code. Raises for a FileName that does not fit.
std::int32_t ShowFileDialog(Platform& platform, std::int32_t save, FileDialogRecord& record,
                            std::uintptr_t owner, const std::u16string& title,
                            const std::u16string& filter, std::uint32_t flags);

// text up to its first NUL, or all of it.
std::u16string TrimAtNull(std::u16string_view text);

// Lets the user pick a shortcut file in the Open dialog; sets argument to the chosen path ("" if
// none) and returns ShowFileDialog's result.
std::int32_t SelectShortcutFile(Platform& platform, std::u16string& argument);

}  // namespace linkvane::Fn_RWFileDlg
