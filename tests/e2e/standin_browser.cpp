// standin_browser.exe: stands in for a web browser in the end-to-end tests and in scripts/run.
// It records what it was started with and exits at once, showing nothing.
//
// The record goes to the file named by the environment variable LINKVANE_STANDIN_RECORD
// (inherited from whoever started linkvane.exe). It is UTF-8 text, one item per line:
//
//   linkvane-standin 1
//   cmdline <the full command line as GetCommandLineW gives it>
//   cwd <its current folder, as GetCurrentDirectoryW gives it>
//   arg <argv[0]>
//   arg <argv[1]>
//   ...
//   end
//
// In each item a backslash is written as "\\", a carriage return as "\r" and a line feed as
// "\n", so every item stays on its line and can be read back exactly. The file is written
// under a temporary name and then renamed, so a reader never sees half a record; the final
// "end" line tells a complete record from a truncated one all the same.

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <string>

namespace {

void AppendUtf8(std::string& out, const wchar_t* text, int length) {
  if (length <= 0) return;
  const int size = ::WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return;
  const std::size_t at = out.size();
  out.resize(at + static_cast<std::size_t>(size));
  ::WideCharToMultiByte(CP_UTF8, 0, text, length, &out[at], size, nullptr, nullptr);
}

void AppendItem(std::string& out, const char* label, const wchar_t* text) {
  std::wstring escaped;
  for (const wchar_t* c = text; *c != L'\0'; ++c) {
    switch (*c) {
      case L'\\':
        escaped += L"\\\\";
        break;
      case L'\r':
        escaped += L"\\r";
        break;
      case L'\n':
        escaped += L"\\n";
        break;
      default:
        escaped += *c;
    }
  }
  out += label;
  out += ' ';
  AppendUtf8(out, escaped.data(), static_cast<int>(escaped.size()));
  out += '\n';
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
  HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok =
      ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
      written == bytes.size();
  return ::CloseHandle(file) && ok;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t target[MAX_PATH * 4];
  const DWORD length = ::GetEnvironmentVariableW(L"LINKVANE_STANDIN_RECORD", target,
                                                 sizeof(target) / sizeof(target[0]));
  if (length == 0 || length >= sizeof(target) / sizeof(target[0])) return 2;

  const wchar_t* command_line = ::GetCommandLineW();
  std::string record = "linkvane-standin 1\n";
  AppendItem(record, "cmdline", command_line);
  wchar_t folder[MAX_PATH * 4] = L"";
  ::GetCurrentDirectoryW(sizeof(folder) / sizeof(folder[0]), folder);
  AppendItem(record, "cwd", folder);
  int count = 0;
  if (wchar_t** arguments = ::CommandLineToArgvW(command_line, &count)) {
    for (int i = 0; i < count; ++i) AppendItem(record, "arg", arguments[i]);
    ::LocalFree(arguments);
  }
  record += "end\n";

  const std::wstring final_path(target, length);
  const std::wstring temporary = final_path + L".part" + std::to_wstring(::GetCurrentProcessId());
  if (!WriteAll(temporary, record)) return 3;
  if (!::MoveFileExW(temporary.c_str(), final_path.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    ::DeleteFileW(temporary.c_str());
    return 3;
  }
  return 0;
}
