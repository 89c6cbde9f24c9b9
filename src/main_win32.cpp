// linkvane.exe: opens the web-location shortcut file named on its command line in a browser.

#include <windows.h>

#include "launcher/Module_Main.h"
#include "platform/win32/win32_platform.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // No "insert a disk" boxes for a path on an empty drive: such a path is simply not found.
  ::SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);
  linkvane::win32::Win32Platform platform;
  return linkvane::Module_Main::RunProgram(platform);
}
