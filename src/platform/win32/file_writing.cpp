// The steps of the only writes Linkvane makes, to the user's own browser.dat, which /choose
// changes: the logic puts them together so that no failure loses the file.

#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_platform.h"

namespace linkvane::win32 {

void Win32Platform::CreateFolder(const std::u16string& folder) {
  const std::u16string path = FileApiPath(folder);
  if (::CreateDirectoryW(Wide(path), nullptr)) return;
  const DWORD error = ::GetLastError();
  const DWORD attributes = ::GetFileAttributesW(Wide(path));
  if (error == ERROR_ALREADY_EXISTS && attributes != INVALID_FILE_ATTRIBUTES &&
      (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return;
  }
  throw LastError(error);
}

void Win32Platform::WriteNewFile(const std::u16string& path, std::string_view bytes) {
  UniqueHandle file(::CreateFileW(Wide(FileApiPath(path)), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) throw LastError();
  while (!bytes.empty()) {
    DWORD written = 0;
    const auto wanted = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!::WriteFile(file.get(), bytes.data(), wanted, &written, nullptr)) throw LastError();
    bytes.remove_prefix(written);
  }
  // On the disk before it replaces anything: a crash then leaves the old file or the new one.
  if (!::FlushFileBuffers(file.get())) throw LastError();
}

void Win32Platform::ReplaceWithBackup(const std::u16string& target,
                                      const std::u16string& replacement,
                                      const std::u16string& backup) {
  // ReplaceFileW keeps the old file's attributes and permissions. With a backup name, none of
  // its failures deletes the old file: it stays, under its name or the backup's.
  if (!::ReplaceFileW(Wide(FileApiPath(target)), Wide(FileApiPath(replacement)),
                      Wide(FileApiPath(backup)), REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr,
                      nullptr)) {
    throw LastError();
  }
}

void Win32Platform::RenameFile(const std::u16string& from, const std::u16string& to) {
  if (!::MoveFileExW(Wide(FileApiPath(from)), Wide(FileApiPath(to)),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    throw LastError();
  }
}

std::uint32_t Win32Platform::CurrentProcessId() { return ::GetCurrentProcessId(); }

void Win32Platform::RemoveFile(const std::u16string& path) {
  if (!::DeleteFileW(Wide(FileApiPath(path)))) throw LastError();
}

}  // namespace linkvane::win32
