#pragma once

// Functions of the Windows DLLs that only some runs need (message boxes, dialogs, the shell's
// path functions, the registry), loaded from the system folder on first use. Under Wine every
// DLL an executable imports costs start-up time, and loading by full path keeps a DLL planted
// beside a downloaded shortcut from ever being picked up.

#include <windows.h>

namespace linkvane::win32 {

// The address of function in the system DLL library (loaded once and kept for the process's
// life), or null with the thread's last error set.
FARPROC SystemFunction(const wchar_t* library, const char* function);

// The same, cast to the function's type.
template <typename Function>
Function* SystemFunctionAs(const wchar_t* library, const char* function) {
  return reinterpret_cast<Function*>(reinterpret_cast<void*>(SystemFunction(library, function)));
}

}  // namespace linkvane::win32
