// The only files Linkvane writes: the user's own browser.dat, which /choose changes. A write
// goes to a new file beside it first, which then takes the old one's place in one step, so that
// a failure at any point leaves the old file whole.

#include "platform/win32/unique_handles.h"
#include "platform/win32/win32_platform.h"
#include "text/decimal.h"

namespace linkvane::win32 {

namespace {

// Writes all of bytes to the new, empty file at path; raises on failure.
void WriteNewFile(const std::u16string& path, std::string_view bytes) {
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

}  // namespace

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

void Win32Platform::WriteFileAtomically(const std::u16string& file, std::string_view bytes) {
  const std::u16string path = FileApiPath(file);
  // In the same folder, so that it is on the same volume and the replace is a rename; the
  // process id keeps two runs apart.
  const std::u16string temporary = FileApiPath(
      file + u"." + DecimalText(static_cast<std::int64_t>(::GetCurrentProcessId())) + u".tmp");
  try {
    WriteNewFile(temporary, bytes);
    // ReplaceFileW keeps the old file's attributes and permissions; it needs an old file.
    const bool replaced = ::GetFileAttributesW(Wide(path)) != INVALID_FILE_ATTRIBUTES
                              ? ::ReplaceFileW(Wide(path), Wide(temporary), nullptr,
                                               REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr)
                              : ::MoveFileExW(Wide(temporary), Wide(path),
                                              MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!replaced) throw LastError();
  } catch (const PlatformError&) {
    ::DeleteFileW(Wide(temporary));
    throw;
  }
}

void Win32Platform::RemoveFile(const std::u16string& path) {
  if (!::DeleteFileW(Wide(FileApiPath(path)))) throw LastError();
}

}  // namespace linkvane::win32
