#include "platform/win32/win32_platform.h"

#include <objbase.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <algorithm>
#include <climits>

#include "platform/command_line.h"
#include "platform/win32/system_library.h"
#include "platform/win32/unique_handles.h"

namespace linkvane::win32 {

namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "Win32 wide text is UTF-16");

class FileByteReader : public ByteReader {
 public:
  explicit FileByteReader(UniqueHandle file) : file_(std::move(file)) {}

  std::size_t Read(char* buffer, std::size_t capacity) override {
    const DWORD wanted = static_cast<DWORD>(std::min<std::size_t>(capacity, 1u << 30));
    DWORD got = 0;
    if (!::ReadFile(file_.get(), buffer, wanted, &got, nullptr)) throw LastError();
    return got;
  }

  void Rewind() override {
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN)) throw LastError();
  }

 private:
  UniqueHandle file_;
};

// A process as CreateProcessW leaves it; one created suspended is ended unless resumed.
class Win32StartedProcess : public StartedProcess {
 public:
  explicit Win32StartedProcess(bool suspended) : suspended_(suspended) {}
  ~Win32StartedProcess() override {
    if (suspended_ && process_.get().hProcess != nullptr) {
      ::TerminateProcess(process_.get().hProcess, ERROR_CANCELLED);
    }
  }
  Win32StartedProcess(const Win32StartedProcess&) = delete;
  Win32StartedProcess& operator=(const Win32StartedProcess&) = delete;

  PROCESS_INFORMATION* information() { return process_.addressof(); }
  std::uint32_t Id() const override { return process_.get().dwProcessId; }
  void Resume() override {
    if (::ResumeThread(process_.get().hThread) == static_cast<DWORD>(-1)) throw LastError();
    suspended_ = false;
  }

 private:
  UniqueProcessInformation process_;
  bool suspended_;
};

// A folder that a GetXxxDirectoryW-style function writes, however long.
std::u16string FolderFrom(UINT(WINAPI* get)(LPWSTR, UINT)) {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const UINT length = get(path.data(), static_cast<UINT>(path.size()));
    if (length == 0) throw LastError();
    if (length < path.size()) return FromWide(path.data(), length);
    path.resize(length);
  }
}

// The most characters, its NUL included, that a command line may have.
constexpr std::size_t kLongestCommandLine = 32767;

// Only a file on a disk is a file here: a console, a device or a pipe is not, and reading one
// could wait forever.
bool IsDiskFile(HANDLE file) { return ::GetFileType(file) == FILE_TYPE_DISK; }

constexpr DWORD kReparseTagAppExecLink = 0x8000001B;  // IO_REPARSE_TAG_APPEXECLINK

// The Win32 error that a ShellExecuteExW result code (hInstApp, 32 or less) stands for.
DWORD ErrorOfShellResult(HINSTANCE result) {
  switch (reinterpret_cast<std::uintptr_t>(result)) {
    case SE_ERR_FNF:
      return ERROR_FILE_NOT_FOUND;
    case SE_ERR_PNF:
      return ERROR_PATH_NOT_FOUND;
    case SE_ERR_ACCESSDENIED:
      return ERROR_ACCESS_DENIED;
    default:  // SE_ERR_NOASSOC, SE_ERR_ASSOCINCOMPLETE and whatever else
      return ERROR_NO_ASSOCIATION;
  }
}

HKEY RootKey(std::uint32_t root) {
  // The predefined keys are sign-extended handle values.
  return reinterpret_cast<HKEY>(
      static_cast<ULONG_PTR>(static_cast<LONG_PTR>(static_cast<LONG>(root))));
}

constexpr wchar_t kUser32[] = L"user32.dll";
constexpr wchar_t kShlwapi[] = L"shlwapi.dll";
constexpr wchar_t kAdvapi32[] = L"advapi32.dll";
constexpr wchar_t kComdlg32[] = L"comdlg32.dll";
constexpr wchar_t kShell32[] = L"shell32.dll";

// The registry function of that name from advapi32, as type Function; raises when missing.
template <typename Function>
Function* Advapi32(const char* name) {
  auto* function = SystemFunctionAs<Function>(kAdvapi32, name);
  if (function == nullptr) throw LastError();
  return function;
}

// Raises the error a registry function returned, with the system's text.
void Check(LSTATUS status) {
  if (status != ERROR_SUCCESS) throw LastError(static_cast<DWORD>(status));
}

bool RunDialog(const char* function, FileDialogBlock& block) {
  auto* show = SystemFunctionAs<BOOL WINAPI(OPENFILENAMEW*)>(kComdlg32, function);
  if (show == nullptr) throw LastError();
  PrepareWindowLayout();
  FileDialogBuffers buffers;
  OPENFILENAMEW ofn = MakeOpenFileName(block, buffers);
  if (!show(&ofn)) return false;
  ReadBackOpenFileName(ofn, buffers, block);
  return true;
}

// The executable's own path in its long form ("" when it cannot be had).
std::u16string OwnLongPath() {
  std::vector<wchar_t> path(MAX_PATH);
  DWORD length = 0;
  while ((length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
         path.size()) {
    path.resize(path.size() * 2);
  }
  if (length == 0) return std::u16string();
  std::vector<wchar_t> long_path(length + 1);
  DWORD long_length =
      ::GetLongPathNameW(path.data(), long_path.data(), static_cast<DWORD>(long_path.size()));
  if (long_length > long_path.size()) {
    long_path.resize(long_length);
    long_length =
        ::GetLongPathNameW(path.data(), long_path.data(), static_cast<DWORD>(long_path.size()));
  }
  if (long_length == 0 || long_length >= long_path.size()) return FromWide(path.data(), length);
  return FromWide(long_path.data(), long_length);
}

}  // namespace

PlatformError LastError(DWORD code) {
  wchar_t* text = nullptr;
  const auto format = [&](DWORD language) {
    return ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, language, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  };
  DWORD length = format(error_language);
  // A Windows without that language's texts (ERROR_RESOURCE_LANG_NOT_FOUND,
  // ERROR_MUI_FILE_NOT_FOUND) still has the user's own.
  if (length == 0 && error_language != 0 &&
      (::GetLastError() == ERROR_RESOURCE_LANG_NOT_FOUND || ::GetLastError() == 15100)) {
    length = format(0);
  }
  std::u16string description = length != 0 ? FromWide(text, length) : u"Unknown error.";
  if (text != nullptr) ::LocalFree(text);
  while (!description.empty() && (description.back() == u'\r' || description.back() == u'\n' ||
                                  description.back() == u' ')) {
    description.pop_back();
  }
  return PlatformError(static_cast<std::int32_t>(code), std::move(description));
}

std::u16string Win32Platform::CommandLineText() {
  const wchar_t* line = ::GetCommandLineW();
  return CommandLineAfterProgramName(FromWide(line, ::lstrlenW(line)), OwnLongPath());
}

std::u16string Win32Platform::ExecutableDirectory() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    const DWORD length =
        ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw LastError();
    if (length < path.size()) {
      std::u16string directory = FromWide(path.data(), length);
      directory.resize(directory.rfind(u'\\') + 1);
      // Keep the "\" of a drive root ("C:\"), drop it everywhere else.
      if (directory.size() > 3 || (directory.size() == 3 && directory[1] != u':')) {
        directory.pop_back();
      }
      return directory;
    }
    path.resize(path.size() * 2);
  }
}

std::u16string Win32Platform::ExecutablePath() {
  std::u16string path = OwnLongPath();
  if (path.empty()) throw LastError();
  return path;
}

int Win32Platform::ShowMessage(const std::u16string& text, std::uint32_t flags,
                               const std::u16string& title) {
  auto* message_box =
      SystemFunctionAs<int WINAPI(HWND, LPCWSTR, LPCWSTR, UINT)>(kUser32, "MessageBoxW");
  if (message_box == nullptr) return 0;
  return message_box(nullptr, Wide(text), Wide(title), flags | PrepareWindowLayout());
}

std::unique_ptr<StartedProcess> Win32Platform::StartProcess(const std::u16string& application,
                                                            const std::u16string& command_line,
                                                            const std::u16string& directory,
                                                            int show_state, std::uint32_t flags) {
  if (command_line.empty()) {
    throw PlatformError(ERROR_INVALID_PARAMETER, u"The command line is empty.");
  }
  // CreateProcessW takes at most 32767 characters, its terminating NUL included. Some of its
  // implementations cut a longer line instead of failing, which would start the browser with
  // part of an address: refuse it here, as Windows does.
  if (command_line.size() >= kLongestCommandLine) throw LastError(ERROR_FILENAME_EXCED_RANGE);
  std::vector<wchar_t> line(command_line.begin(), command_line.end());
  line.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show_state);
  auto process = std::make_unique<Win32StartedProcess>((flags & CREATE_SUSPENDED) != 0);
  if (!::CreateProcessW(Wide(application), line.data(), nullptr, nullptr, FALSE, flags, nullptr,
                        Wide(directory), &startup, process->information())) {
    throw LastError();
  }
  return process;
}

void Win32Platform::AllowForeground(std::uint32_t process_id) {
  // The browser is started to be used: let it, and nothing else, come to the front.
  if (auto* allow = SystemFunctionAs<BOOL WINAPI(DWORD)>(kUser32, "AllowSetForegroundWindow")) {
    allow(process_id);
  }
}

std::u16string Win32Platform::SystemDirectory() { return FolderFrom(::GetSystemDirectoryW); }

std::u16string Win32Platform::WindowsDirectory() { return FolderFrom(::GetWindowsDirectoryW); }

bool Win32Platform::RunsUnderWow64() {
  BOOL wow64 = FALSE;
  return ::IsWow64Process(::GetCurrentProcess(), &wow64) && wow64;
}

std::optional<std::u16string> Win32Platform::EnvironmentVariable(const std::u16string& name) {
  std::vector<wchar_t> value(256);
  for (;;) {
    ::SetLastError(ERROR_SUCCESS);
    const DWORD length =
        ::GetEnvironmentVariableW(Wide(name), value.data(), static_cast<DWORD>(value.size()));
    if (length == 0 && ::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
    if (length < value.size()) return FromWide(value.data(), length);
    value.resize(length);
  }
}

std::u16string FileApiPath(const std::u16string& path) {
  if (path.size() < MAX_PATH || path.starts_with(u"\\\\?\\")) return path;
  std::u16string full(kLongestPath, u'\0');
  const DWORD length = ::GetFullPathNameW(Wide(path), kLongestPath,
                                          reinterpret_cast<wchar_t*>(full.data()), nullptr);
  if (length == 0 || length >= kLongestPath) return path;
  full.resize(length);
  if (full[0] != u'\\') return full.insert(0, u"\\\\?\\");
  // A share's path goes behind "\\?\UNC"; a device path ("\\.\") stays as it is.
  if (full[2] != u'.') full.replace(0, 1, u"\\\\?\\UNC");
  return full;
}

std::optional<std::u16string> Win32Platform::IdnToAscii(const std::u16string& host) {
  // kernel32 has it from Windows 8 on, normaliz.dll before; either is loaded only for a
  // Unicode host name.
  using Convert = int WINAPI(DWORD, LPCWSTR, int, LPWSTR, int);
  auto* convert = SystemFunctionAs<Convert>(L"kernel32.dll", "IdnToAscii");
  if (convert == nullptr) convert = SystemFunctionAs<Convert>(L"normaliz.dll", "IdnToAscii");
  if (convert == nullptr || host.empty()) return std::nullopt;
  wchar_t ascii[256];  // a DNS name has at most 255 characters
  const int length = convert(0, Wide(host), static_cast<int>(host.size()), ascii, 256);
  if (length <= 0) return std::nullopt;
  return FromWide(ascii, static_cast<std::size_t>(length));
}

bool Win32Platform::IsExecutionAlias(const std::u16string& path) {
  // A Store app's alias cannot be opened (error 1920), only started; its reparse tag, which
  // FindFirstFileW reports, says what it is.
  WIN32_FIND_DATAW found{};
  const HANDLE search = ::FindFirstFileW(Wide(FileApiPath(path)), &found);
  if (search == INVALID_HANDLE_VALUE) return false;
  ::FindClose(search);
  return (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
         (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
         found.dwReserved0 == kReparseTagAppExecLink;
}

bool Win32Platform::FileExists(const std::u16string& path) {
  const std::u16string long_form = FileApiPath(path);
  const DWORD attributes = ::GetFileAttributesW(Wide(long_form));
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return false;
  }
  UniqueHandle file(::CreateFileW(Wide(long_form), FILE_READ_ATTRIBUTES,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
  if (file.valid()) return IsDiskFile(file.get());
  // A file that exists but is locked or guarded is still a file. Anything else that cannot be
  // opened (a console without a console window, say) is no file to read.
  const DWORD error = ::GetLastError();
  return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION ||
         error == ERROR_ACCESS_DENIED;
}

std::unique_ptr<ByteReader> Win32Platform::OpenFileForReading(const std::u16string& path) {
  UniqueHandle file(::CreateFileW(Wide(FileApiPath(path)), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) throw LastError();
  if (!IsDiskFile(file.get())) {
    throw PlatformError(ERROR_BAD_FILE_TYPE, u"The path does not name a file on a disk.");
  }
  return std::make_unique<FileByteReader>(std::move(file));
}

std::u16string Win32Platform::AnsiToUtf16(std::string_view bytes) {
  if (bytes.empty()) return std::u16string();
  if (bytes.size() > INT_MAX / 2) throw PlatformError(ERROR_NOT_ENOUGH_MEMORY, u"Text too long.");
  const int size = static_cast<int>(bytes.size());
  const int length = ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
  if (length == 0) throw LastError();
  std::u16string text(static_cast<std::size_t>(length), u'\0');
  ::MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, reinterpret_cast<wchar_t*>(text.data()),
                        length);
  return text;
}

bool Win32Platform::AnsiIsSingleByte() {
  CPINFO info{};
  return ::GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 1;
}

bool Win32Platform::PathIsUrl(const std::u16string& text) {
  auto* is_url = SystemFunctionAs<BOOL WINAPI(LPCWSTR)>(kShlwapi, "PathIsURLW");
  return is_url != nullptr && is_url(Wide(text));
}

std::int32_t Win32Platform::CreatePathFromUrl(const std::u16string& url, std::u16string& buffer,
                                              std::uint32_t& length) {
  auto* create = SystemFunctionAs<HRESULT WINAPI(LPCWSTR, LPWSTR, DWORD*, DWORD)>(
      kShlwapi, "PathCreateFromUrlW");
  std::vector<wchar_t> path(buffer.begin(), buffer.end());
  DWORD path_length = static_cast<DWORD>(path.size());
  const HRESULT result = create != nullptr ? create(Wide(url), path.data(), &path_length, 0)
                                           : HRESULT_FROM_WIN32(::GetLastError());
  if (FAILED(result)) {
    // A URL that names no file: hand the URL back, so the user sees what was given.
    path.assign(url.begin(),
                url.begin() + static_cast<std::ptrdiff_t>(std::min(url.size(), buffer.size())));
    path_length = static_cast<DWORD>(path.size());
  }
  const std::size_t written = std::min<std::size_t>(path_length, buffer.size());
  buffer.replace(0, written, FromWide(path.data(), written));
  length = static_cast<std::uint32_t>(written);
  return result;
}

std::uint32_t Win32Platform::ExpandEnvironment(const std::u16string& source, char16_t* destination,
                                               std::uint32_t size) {
  // The expansion handles at most 32767 characters, its NUL included, and some of its
  // implementations cut a longer text without a word. A text that long is refused instead: no
  // command line can hold it anyway.
  if (source.size() >= kLongestCommandLine) throw LastError(ERROR_FILENAME_EXCED_RANGE);
  const DWORD result =
      ::ExpandEnvironmentStringsW(Wide(source), reinterpret_cast<wchar_t*>(destination), size);
  if (result >= kLongestCommandLine) throw LastError(ERROR_FILENAME_EXCED_RANGE);
  return result;
}

std::int32_t Win32Platform::OpenRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                            std::uint32_t options, std::uint32_t access,
                                            RegistryKey& key) {
  auto* open = SystemFunctionAs<LSTATUS WINAPI(HKEY, LPCWSTR, DWORD, REGSAM, PHKEY)>(
      kAdvapi32, "RegOpenKeyExW");
  if (open == nullptr) throw LastError();
  HKEY opened = nullptr;
  const LSTATUS status = open(RootKey(root), Wide(subkey), options, access, &opened);
  if (status == ERROR_SUCCESS) key = reinterpret_cast<RegistryKey>(opened);
  return status;
}

std::int32_t Win32Platform::QueryRegistryValue(RegistryKey key, const std::u16string& name,
                                               std::uint32_t* type, std::uint8_t* data,
                                               std::uint32_t* size) {
  auto* query = SystemFunctionAs<LSTATUS WINAPI(HKEY, LPCWSTR, LPDWORD, LPDWORD, LPBYTE, LPDWORD)>(
      kAdvapi32, "RegQueryValueExW");
  if (query == nullptr) throw LastError();
  DWORD value_type = 0;
  DWORD value_size = size != nullptr ? *size : 0;
  const LSTATUS status = query(reinterpret_cast<HKEY>(key), Wide(name), nullptr, &value_type, data,
                               size != nullptr ? &value_size : nullptr);
  if (type != nullptr) *type = value_type;
  if (size != nullptr) *size = value_size;
  return status;
}

std::int32_t Win32Platform::CloseRegistryKey(RegistryKey key) {
  auto* close = SystemFunctionAs<LSTATUS WINAPI(HKEY)>(kAdvapi32, "RegCloseKey");
  if (close == nullptr) throw LastError();
  return close(reinterpret_cast<HKEY>(key));
}

RegistryKey Win32Platform::CreateRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                             std::uint32_t access) {
  HKEY created = nullptr;
  Check(Advapi32<LSTATUS WINAPI(HKEY, LPCWSTR, DWORD, LPWSTR, DWORD, REGSAM, LPSECURITY_ATTRIBUTES,
                                PHKEY, LPDWORD)>("RegCreateKeyExW")(
      RootKey(root), Wide(subkey), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &created,
      nullptr));
  return reinterpret_cast<RegistryKey>(created);
}

void Win32Platform::SetRegistryValue(RegistryKey key, const std::u16string& name,
                                     const std::u16string& text) {
  Check(Advapi32<LSTATUS WINAPI(HKEY, LPCWSTR, DWORD, DWORD, const BYTE*, DWORD)>("RegSetValueExW")(
      reinterpret_cast<HKEY>(key), Wide(name), 0, REG_SZ,
      reinterpret_cast<const BYTE*>(text.c_str()),
      static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))));
}

void Win32Platform::DeleteRegistryValue(RegistryKey key, const std::u16string& name) {
  Check(Advapi32<LSTATUS WINAPI(HKEY, LPCWSTR)>("RegDeleteValueW")(reinterpret_cast<HKEY>(key),
                                                                   Wide(name)));
}

void Win32Platform::DeleteRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                      std::uint32_t view) {
  // RegDeleteKeyW would delete in the 32-bit view only; this one takes the view.
  Check(Advapi32<LSTATUS WINAPI(HKEY, LPCWSTR, REGSAM, DWORD)>("RegDeleteKeyExW")(
      RootKey(root), Wide(subkey), view, 0));
}

void Win32Platform::QueryRegistryKeyInfo(RegistryKey key, std::uint32_t& subkeys,
                                         std::uint32_t& values) {
  DWORD subkey_count = 0;
  DWORD value_count = 0;
  Check(Advapi32<LSTATUS WINAPI(HKEY, LPWSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD, LPDWORD,
                                LPDWORD, LPDWORD, LPDWORD, PFILETIME)>("RegQueryInfoKeyW")(
      reinterpret_cast<HKEY>(key), nullptr, nullptr, nullptr, &subkey_count, nullptr, nullptr,
      &value_count, nullptr, nullptr, nullptr, nullptr));
  subkeys = subkey_count;
  values = value_count;
}

void Win32Platform::NotifyAssociationsChanged() {
  constexpr LONG kAssociationsChanged = 0x08000000;  // SHCNE_ASSOCCHANGED
  if (auto* notify =
          SystemFunctionAs<void WINAPI(LONG, UINT, LPCVOID, LPCVOID)>(kShell32, "SHChangeNotify")) {
    notify(kAssociationsChanged, 0, nullptr, nullptr);
  }
}

OPENFILENAMEW MakeOpenFileName(const FileDialogBlock& block, FileDialogBuffers& buffers) {
  buffers.file.assign(block.file.begin(), block.file.end());
  buffers.file_title.assign(block.file_title.begin(), block.file_title.end());
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = reinterpret_cast<HWND>(block.owner);
  ofn.lpstrFilter = block.has_filter ? Wide(block.filter) : nullptr;
  ofn.lpstrFile = buffers.file.data();
  ofn.nMaxFile = static_cast<DWORD>(buffers.file.size());
  ofn.lpstrFileTitle = buffers.file_title.data();
  ofn.nMaxFileTitle = static_cast<DWORD>(buffers.file_title.size());
  ofn.lpstrInitialDir = Wide(block.initial_dir);
  ofn.lpstrTitle = Wide(block.title);
  ofn.Flags = block.flags;
  ofn.lpstrDefExt = block.has_default_ext ? Wide(block.default_ext) : nullptr;
  return ofn;
}

void ReadBackOpenFileName(const OPENFILENAMEW& ofn, const FileDialogBuffers& buffers,
                          FileDialogBlock& block) {
  block.file = FromWide(buffers.file.data(), buffers.file.size());
  block.file_title = FromWide(buffers.file_title.data(), buffers.file_title.size());
  block.file_offset = ofn.nFileOffset;
}

bool Win32Platform::ShowOpenDialog(FileDialogBlock& block) {
  return RunDialog("GetOpenFileNameW", block);
}

bool Win32Platform::ShowSaveDialog(FileDialogBlock& block) {
  return RunDialog("GetSaveFileNameW", block);
}

std::uint32_t Win32Platform::DialogExtendedError() {
  auto* extended_error = SystemFunctionAs<DWORD WINAPI()>(kComdlg32, "CommDlgExtendedError");
  return extended_error != nullptr ? extended_error() : ::GetLastError();
}

char16_t Win32Platform::AnsiBestFitAscii(char16_t c) {
  // The UTF-8 code page has no best fit, and takes no lpUsedDefaultChar.
  if (::GetACP() == CP_UTF8) return 0;
  char bytes[2];
  BOOL used_default = FALSE;
  const int length = ::WideCharToMultiByte(CP_ACP, 0, reinterpret_cast<const wchar_t*>(&c), 1,
                                           bytes, sizeof(bytes), nullptr, &used_default);
  const auto byte = static_cast<unsigned char>(bytes[0]);
  return length == 1 && !used_default && byte < 0x80 ? char16_t(byte) : 0;
}

std::uint32_t Win32Platform::DriveType(const std::u16string& root) {
  return ::GetDriveTypeW(Wide(root));
}

void Win32Platform::OpenWithClass(const std::u16string& progid, const std::u16string& url) {
  // Loaded only here, the one step that needs them. A DelegateExecute verb needs COM in a
  // single-threaded apartment, and a process that ends at once must not leave the shell's work
  // to another thread.
  auto* initialize = SystemFunctionAs<HRESULT WINAPI(void*, DWORD)>(L"ole32.dll", "CoInitializeEx");
  auto* execute =
      SystemFunctionAs<BOOL WINAPI(SHELLEXECUTEINFOW*)>(L"shell32.dll", "ShellExecuteExW");
  if (initialize == nullptr || execute == nullptr) throw LastError();
  initialize(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpFile = Wide(url);
  info.lpClass = Wide(progid);
  info.nShow = SW_SHOWNORMAL;
  if (!execute(&info)) {
    // The shell may fail without a last error and give its reason only in hInstApp.
    const DWORD error = ::GetLastError();
    throw LastError(error != ERROR_SUCCESS ? error : ErrorOfShellResult(info.hInstApp));
  }
}

std::int32_t Win32Platform::EnumRegistrySubkeys(RegistryKey key, std::uint32_t index,
                                                std::u16string& name) {
  auto* enumerate =
      SystemFunctionAs<LSTATUS WINAPI(HKEY, DWORD, LPWSTR, LPDWORD, LPDWORD, LPWSTR, LPDWORD,
                                      PFILETIME)>(kAdvapi32, "RegEnumKeyExW");
  if (enumerate == nullptr) throw LastError();
  wchar_t buffer[256];  // a key's name has at most 255 characters
  DWORD length = 256;
  const LSTATUS status = enumerate(reinterpret_cast<HKEY>(key), index, buffer, &length, nullptr,
                                   nullptr, nullptr, nullptr);
  if (status == ERROR_SUCCESS) name = FromWide(buffer, length);
  return status;
}

std::u16string Win32Platform::LoadIndirectString(const std::u16string& source) {
  auto* load = SystemFunctionAs<HRESULT WINAPI(PCWSTR, PWSTR, UINT, void**)>(
      kShlwapi, "SHLoadIndirectString");
  std::vector<wchar_t> text(1024);
  if (load == nullptr ||
      FAILED(load(Wide(source), text.data(), static_cast<UINT>(text.size()), nullptr))) {
    return std::u16string();
  }
  return FromWide(text.data(), ::lstrlenW(text.data()));
}

std::optional<std::string> Win32Platform::Utf16ToAnsiExactly(std::u16string_view text) {
  if (text.empty()) return std::string();
  if (text.size() > INT_MAX / 4) return std::nullopt;
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  // Without a flag that the code pages differ on: the way back tells whether anything was
  // replaced or made to look alike.
  const int size = ::WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (size <= 0) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, wide, length, bytes.data(), size, nullptr, nullptr);
  if (AnsiToUtf16(bytes) != text) return std::nullopt;
  return bytes;
}

}  // namespace linkvane::win32
