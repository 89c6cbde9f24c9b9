// bench_browser.exe: the "browser" of the start-up benchmark; it ends as soon as it starts.

#include <windows.h>

extern "C" void __stdcall Start() { ::ExitProcess(0); }
