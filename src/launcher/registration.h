#pragma once

// The associations that make .webloc and .desktop files open with this linkvane.exe, for the
// current user or, with /allusers, for every user of the computer.

#include <string>
#include <string_view>
#include <vector>

#include "launcher/requests.h"

namespace linkvane::Module_Main {

// /register: writes the associations for this linkvane.exe; returns the exit status.
int RegisterShortcutTypes(Platform& platform, const RequestOptions& options);

// /unregister: removes the associations' values that name this linkvane.exe, and the keys that
// are left empty; returns the exit status.
int UnregisterShortcutTypes(Platform& platform, const RequestOptions& options);

// True when the file at path (in full, its links resolved) lies where only administrators can
// change it: anywhere under one of trees, or directly in one of folders.
bool InProtectedFolder(std::u16string_view path, const std::vector<std::u16string>& trees,
                       const std::vector<std::u16string>& folders);

}  // namespace linkvane::Module_Main
