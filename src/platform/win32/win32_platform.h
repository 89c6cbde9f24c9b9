#pragma once

#include <windows.h>
// After windows.h, which it needs.
#include <commdlg.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace linkvane::win32 {

// The platform on the real Win32 API.
class Win32Platform : public Platform {
 public:
  std::u16string CommandLineText() override;
  std::u16string ExecutableDirectory() override;
  std::u16string ExecutablePath() override;
  int ShowMessage(const std::u16string& text, std::uint32_t flags,
                  const std::u16string& title) override;
  std::unique_ptr<StartedProcess> StartProcess(const std::u16string& application,
                                               const std::u16string& command_line,
                                               const std::u16string& directory, int show_state,
                                               std::uint32_t flags) override;
  void AllowForeground(std::uint32_t process_id) override;
  std::u16string SystemDirectory() override;
  std::u16string WindowsDirectory() override;
  bool RunsUnderWow64() override;
  std::optional<std::u16string> EnvironmentVariable(const std::u16string& name) override;
  bool FileExists(const std::u16string& path) override;
  bool IsExecutionAlias(const std::u16string& path) override;
  std::optional<std::u16string> IdnToAscii(const std::u16string& host) override;
  std::unique_ptr<ByteReader> OpenFileForReading(const std::u16string& path) override;
  std::u16string AnsiToUtf16(std::string_view bytes) override;
  bool AnsiIsSingleByte() override;
  bool PathIsUrl(const std::u16string& text) override;
  std::int32_t CreatePathFromUrl(const std::u16string& url, std::u16string& buffer,
                                 std::uint32_t& length) override;
  std::uint32_t ExpandEnvironment(const std::u16string& source, char16_t* destination,
                                  std::uint32_t size) override;
  std::int32_t OpenRegistryKey(std::uint32_t root, const std::u16string& subkey,
                               std::uint32_t options, std::uint32_t access,
                               RegistryKey& key) override;
  std::int32_t QueryRegistryValue(RegistryKey key, const std::u16string& name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) override;
  std::int32_t CloseRegistryKey(RegistryKey key) override;
  RegistryKey CreateRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                std::uint32_t access) override;
  void SetRegistryValue(RegistryKey key, const std::u16string& name,
                        const std::u16string& text) override;
  void DeleteRegistryValue(RegistryKey key, const std::u16string& name) override;
  void DeleteRegistryKey(std::uint32_t root, const std::u16string& subkey,
                         std::uint32_t view) override;
  void QueryRegistryKeyInfo(RegistryKey key, std::uint32_t& subkeys,
                            std::uint32_t& values) override;
  void NotifyAssociationsChanged() override;
  bool ShowOpenDialog(FileDialogBlock& block) override;
  bool ShowSaveDialog(FileDialogBlock& block) override;
  std::uint32_t DialogExtendedError() override;
  char16_t AnsiBestFitAscii(char16_t c) override;
  std::uint32_t DriveType(const std::u16string& root) override;
  void OpenWithClass(const std::u16string& progid, const std::u16string& url) override;
  std::int32_t EnumRegistrySubkeys(RegistryKey key, std::uint32_t index,
                                   std::u16string& name) override;
  std::u16string LoadIndirectString(const std::u16string& source) override;
  std::optional<std::string> Utf16ToAnsiExactly(std::u16string_view text) override;
  void CreateFolder(const std::u16string& path) override;
  std::u16string FinalPath(const std::u16string& path) override;
  std::vector<std::u16string> ProgramFilesFolders() override;
  void WriteNewFile(const std::u16string& path, std::string_view bytes) override;
  void ReplaceWithBackup(const std::u16string& target, const std::u16string& replacement,
                         const std::u16string& backup) override;
  void RenameFile(const std::u16string& from, const std::u16string& to) override;
  std::uint32_t CurrentProcessId() override;
  void RemoveFile(const std::u16string& path) override;
  bool ShowChooserDialog(const ChooserModel& model, ChooserEvents& events) override;
  std::uint16_t UserUiLanguage() override;
  std::uint16_t LanguageOfTag(const std::u16string& tag) override;
  std::optional<std::u16string> LoadText(std::uint16_t language, std::uint32_t id) override;
  void UseRightToLeft() override;
  void UseErrorLanguage(std::uint16_t language) override;
};

// Before a window of the program's is made: the process's layout, right to left once
// UseRightToLeft was called. Returns the message box flags that go with it.
UINT PrepareWindowLayout();

// The LANGID of Windows' error descriptions (UseErrorLanguage); 0 is the user's own.
extern DWORD error_language;

// path as the file functions take it at any length: from 260 characters on, the full path
// behind "\\?\" (or "\\?\UNC\" for a share), which lifts the classic limit.
std::u16string FileApiPath(const std::u16string& path);

// The buffers an OPENFILENAMEW points into, owned for the dialog's duration.
struct FileDialogBuffers {
  std::vector<wchar_t> file;
  std::vector<wchar_t> file_title;
};

// Fills the dialog's parameter block from the logic's description; the block points into
// block's texts and into buffers, which must outlive it.
OPENFILENAMEW MakeOpenFileName(const FileDialogBlock& block, FileDialogBuffers& buffers);

// Copies what the dialog wrote back into the logic's description.
void ReadBackOpenFileName(const OPENFILENAMEW& ofn, const FileDialogBuffers& buffers,
                          FileDialogBlock& block);

// The error for the thread's last Win32 error (or the one given), with the system's text.
PlatformError LastError(DWORD code = ::GetLastError());

// A Windows wide text for a logic text, and back; both are UTF-16.
inline const wchar_t* Wide(const std::u16string& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline std::u16string FromWide(const wchar_t* text, std::size_t length) {
  return std::u16string(reinterpret_cast<const char16_t*>(text), length);
}

}  // namespace linkvane::win32
