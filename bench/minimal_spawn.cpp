// spawn_user32.exe / spawn_kernel32.exe: the least a program can do that starts a command line
// and ends, the yardstick for linkvane.exe's start-up. It starts whatever follows its own name
// on its command line, with a normal window, and does not wait for it. No C runtime: the
// only DLLs it imports are kernel32 and, for spawn_user32, user32.

#include <windows.h>

namespace {

// The command line after the program's own name (quoted or not) and the blanks that follow.
const wchar_t* AfterProgramName(const wchar_t* line) {
  if (*line == L'"') {
    ++line;
    while (*line != L'\0' && *line != L'"') ++line;
    if (*line == L'"') ++line;
  } else {
    while (*line != L'\0' && *line != L' ' && *line != L'\t') ++line;
  }
  while (*line == L' ' || *line == L'\t') ++line;
  return line;
}

}  // namespace

extern "C" void __stdcall Start() {
  static wchar_t command[32768];
  const wchar_t* rest = AfterProgramName(::GetCommandLineW());
  int length = 0;
  while (rest[length] != L'\0' && length < 32767) {
    command[length] = rest[length];
    ++length;
  }
  command[length] = L'\0';
#ifdef LINKVANE_BENCH_IMPORT_USER32
  // What linkvane.exe does before it starts the browser, and the reason this one imports user32.
  ::AllowSetForegroundWindow(ASFW_ANY);
#endif
  STARTUPINFOW startup;
  PROCESS_INFORMATION process;
  for (unsigned i = 0; i < sizeof startup; ++i) reinterpret_cast<volatile char*>(&startup)[i] = 0;
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  UINT status = 2;
  if (::CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                       &process)) {
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    status = 0;
  }
  ::ExitProcess(status);
}
