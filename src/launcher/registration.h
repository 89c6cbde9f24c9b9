#pragma once

// The associations that make .webloc and .desktop files open with this linkvane.exe, for the
// current user or, with /allusers, for every user of the computer.

#include "launcher/requests.h"

namespace linkvane::Module_Main {

// /register: writes the associations for this linkvane.exe; returns the exit status.
int RegisterShortcutTypes(Platform& platform, const RequestOptions& options);

// /unregister: removes the associations' values that name this linkvane.exe, and the keys that
// are left empty; returns the exit status.
int UnregisterShortcutTypes(Platform& platform, const RequestOptions& options);

}  // namespace linkvane::Module_Main
