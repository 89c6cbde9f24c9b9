// open_with.exe: opens a file the way Explorer does on a double-click, for the release tests.
//
//   open_with.exe FILE               the program of FILE's extension
//   open_with.exe /progid ID FILE    the "Open with" entry ID of FILE's extension
//
// Wine's shell reads file associations from HKEY_LOCAL_MACHINE\Software\Classes only; Windows
// merges HKEY_CURRENT_USER\Software\Classes over it, and that is where per-user associations
// live. This does the merge: it looks in the user's classes first, then the machine's, takes
// the extension's program identifier (or checks that ID is in its OpenWithProgids list), reads
// the identifier's shell\open\command, puts FILE's full path in place of %1 and starts the
// command line with CreateProcessW, as it stands. It waits for the program and exits with its
// exit status; 100 and above are its own failures, described on standard error.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kUsage = 100;
constexpr int kNotAssociated = 101;
constexpr int kStartFailed = 102;
constexpr int kNoExit = 103;

// A text value of a key under one of the two Classes roots, the user's first; empty if none.
std::wstring ClassesValue(const std::wstring& key, const wchar_t* name) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    wchar_t data[4096];
    DWORD size = sizeof(data);
    const std::wstring path = L"Software\\Classes\\" + key;
    if (::RegGetValueW(root, path.c_str(), name, RRF_RT_REG_SZ, nullptr, data, &size) ==
        ERROR_SUCCESS) {
      return data;
    }
  }
  return std::wstring();
}

// Whether the extension's OpenWithProgids lists id, in either root.
bool ListedInOpenWith(const std::wstring& extension, const std::wstring& id) {
  for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
    const std::wstring path = L"Software\\Classes\\" + extension + L"\\OpenWithProgids";
    if (::RegGetValueW(root, path.c_str(), id.c_str(), RRF_RT_ANY, nullptr, nullptr, nullptr) ==
        ERROR_SUCCESS) {
      return true;
    }
  }
  return false;
}

int Fail(int status, const std::wstring& what) {
  std::fwprintf(stderr, L"open_with: %ls\n", what.c_str());
  return status;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring id;
  if (argc == 4 && std::wstring(argv[1]) == L"/progid") id = argv[2];
  if (argc != 2 && id.empty()) return Fail(kUsage, L"usage: open_with [/progid ID] FILE");
  wchar_t full[MAX_PATH * 4];
  const DWORD length = ::GetFullPathNameW(argv[argc - 1], MAX_PATH * 4, full, nullptr);
  if (length == 0 || length >= MAX_PATH * 4) return Fail(kUsage, L"bad path");
  const std::wstring file(full, length);
  const std::size_t dot = file.find_last_of(L".\\");
  if (dot == std::wstring::npos || file[dot] != L'.') return Fail(kUsage, L"no extension");
  const std::wstring extension = file.substr(dot);

  if (id.empty()) {
    id = ClassesValue(extension, nullptr);
  } else if (!ListedInOpenWith(extension, id)) {
    id.clear();
  }
  std::wstring command = id.empty() ? id : ClassesValue(id + L"\\shell\\open\\command", nullptr);
  if (command.empty()) return Fail(kNotAssociated, extension + L" has no such association");
  for (std::size_t at = command.find(L"%1"); at != std::wstring::npos;
       at = command.find(L"%1", at + file.size())) {
    command.replace(at, 2, file);
  }
  std::fwprintf(stdout, L"open_with: %ls\n", command.c_str());

  STARTUPINFOW startup = {};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process = {};
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
    return Fail(kStartFailed, L"CreateProcessW failed: " + std::to_wstring(::GetLastError()));
  }
  ::CloseHandle(process.hThread);
  DWORD status = kNoExit;
  if (::WaitForSingleObject(process.hProcess, 60000) != WAIT_OBJECT_0 ||
      !::GetExitCodeProcess(process.hProcess, &status)) {
    ::TerminateProcess(process.hProcess, kNoExit);
    status = kNoExit;
  }
  ::CloseHandle(process.hProcess);
  return static_cast<int>(status);
}
