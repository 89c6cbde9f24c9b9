// Where a copy of Linkvane lies, for the one request that makes every user run it.

#include "platform/win32/system_library.h"
#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_platform.h"

namespace linkvane::win32 {

namespace {

// FOLDERID_ProgramFiles and FOLDERID_ProgramFilesX86, spelt out so that nothing links uuid.lib.
constexpr GUID kProgramFiles = {
    0x905e63b6, 0xc1bf, 0x494e, {0xb2, 0x9c, 0x65, 0xb7, 0x32, 0xd3, 0xd2, 0x1a}};
constexpr GUID kProgramFilesX86 = {
    0x7c5a40ef, 0xa0fb, 0x4bfc, {0x87, 0x4a, 0xc0, 0xf2, 0xe0, 0xb9, 0xfa, 0x8e}};

}  // namespace

std::u16string Win32Platform::FinalPath(const std::u16string& path) {
  // Opened for no access at all: only its name is wanted, whoever else has it open.
  UniqueHandle file(::CreateFileW(Wide(FileApiPath(path)), 0,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!file.valid()) throw LastError();
  std::vector<wchar_t> name(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetFinalPathNameByHandleW(
        file.get(), name.data(), static_cast<DWORD>(name.size()), FILE_NAME_NORMALIZED);
    if (length == 0) throw LastError();
    if (length < name.size()) return FromWide(name.data(), length);
    name.resize(length + 1);
  }
}

std::vector<std::u16string> Win32Platform::ProgramFilesFolders() {
  using GetKnownFolder = HRESULT WINAPI(REFGUID, DWORD, HANDLE, PWSTR*);
  auto* get = SystemFunctionAs<GetKnownFolder>(L"shell32.dll", "SHGetKnownFolderPath");
  auto* free = SystemFunctionAs<void WINAPI(LPVOID)>(L"ole32.dll", "CoTaskMemFree");
  std::vector<std::u16string> folders;
  for (const GUID* id : {&kProgramFiles, &kProgramFilesX86}) {
    PWSTR folder = nullptr;
    if (get && free && SUCCEEDED(get(*id, 0, nullptr, &folder))) {
      folders.push_back(FromWide(folder, ::lstrlenW(folder)));
    }
    if (free) free(folder);
  }
  // A 32-bit program is told the x86 folder twice; the 64-bit programs' one is in the registry.
  RegistryKey key = 0;
  if (RunsUnderWow64() &&
      OpenRegistryKey(kHkeyLocalMachine, u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion", 0,
                      kKeyRead | kKeyWow64_64Key, key) == kErrorSuccess) {
    wchar_t folder[MAX_PATH] = {};
    std::uint32_t size = sizeof folder - sizeof(wchar_t), type = 0;
    if (QueryRegistryValue(key, u"ProgramFilesDir", &type, reinterpret_cast<std::uint8_t*>(folder),
                           &size) == kErrorSuccess &&
        type == kRegSz) {
      folders.push_back(FromWide(folder, ::lstrlenW(folder)));
    }
    CloseRegistryKey(key);
  }
  return folders;
}

}  // namespace linkvane::win32
