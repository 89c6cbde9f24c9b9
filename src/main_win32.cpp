// linkvane.exe: opens the web-location shortcut file named on its command line in a browser.

#include <windows.h>

#include "launcher/Module_Main.h"
#include "platform/win32/win32_platform.h"

namespace {

// Every DLL loaded from now on, and every DLL those load in turn, comes from the system folder
// only: never the current folder (a downloaded shortcut's) nor a folder of PATH. Found by name,
// since Windows 7 without its update KB2533623 lacks it; there the current folder at least is
// taken out of the search.
void LoadDllsFromTheSystemFolderOnly() {
  using SetDirectories = BOOL WINAPI(DWORD);
  const HMODULE kernel32 = ::GetModuleHandleW(L"kernel32.dll");
  auto* set_directories = reinterpret_cast<SetDirectories*>(
      reinterpret_cast<void*>(::GetProcAddress(kernel32, "SetDefaultDllDirectories")));
  if (set_directories == nullptr || !set_directories(LOAD_LIBRARY_SEARCH_SYSTEM32)) {
    ::SetDllDirectoryW(L"");
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  LoadDllsFromTheSystemFolderOnly();
  // No "insert a disk" boxes for a path on an empty drive: such a path is simply not found.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  linkvane::win32::Win32Platform platform;
  return linkvane::Module_Main::RunProgram(platform);
}
