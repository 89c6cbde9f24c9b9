#include "platform/win32/system_library.h"

#include <string>

namespace linkvane::win32 {

FARPROC SystemFunction(const wchar_t* library, const char* function) {
  HMODULE module = ::GetModuleHandleW(library);
  if (module == nullptr) {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += library;
    // Kept loaded until the process ends: the functions are used until then. What it loads in
    // turn is looked for in its own folder first, the system folder, also where Windows cannot
    // be told to load from there alone (see the entry point).
    module = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
    if (module == nullptr) return nullptr;
  }
  return ::GetProcAddress(module, function);
}

}  // namespace linkvane::win32
