#pragma once

// The one seam between Linkvane's logic and the operating system. The logic sees only these
// operations; src/platform/win32 implements them on the Win32 API and the tests have a fake.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform_error.h"

namespace linkvane {

// Values the logic hands to, or receives from, the platform unchanged.
inline constexpr int kShowNormal = 1;  // SW_SHOWNORMAL: a normal, activated window
inline constexpr int kIdYes = 6;       // IDYES
inline constexpr int kIdNo = 7;        // IDNO
inline constexpr std::size_t kMaxPath = 260;
// The longest path Windows takes, its NUL included.
inline constexpr std::size_t kLongestPath = 32768;

// Process creation flags, as the Win32 API numbers them.
inline constexpr std::uint32_t kCreateSuspended = 0x00000004u;         // CREATE_SUSPENDED
inline constexpr std::uint32_t kCreateDefaultErrorMode = 0x04000000u;  // CREATE_DEFAULT_ERROR_MODE

// Registry roots, as the Win32 API numbers them.
inline constexpr std::uint32_t kHkeyClassesRoot = 0x80000000u;
inline constexpr std::uint32_t kHkeyCurrentUser = 0x80000001u;
inline constexpr std::uint32_t kHkeyLocalMachine = 0x80000002u;
inline constexpr std::uint32_t kHkeyUsers = 0x80000003u;
inline constexpr std::uint32_t kHkeyPerformanceData = 0x80000004u;
inline constexpr std::uint32_t kHkeyCurrentConfig = 0x80000005u;
inline constexpr std::uint32_t kKeyRead = 0x20019u;
inline constexpr std::uint32_t kKeyWrite = 0x20006u;
// The registry's 64-bit and 32-bit views on 64-bit Windows (ignored on 32-bit Windows).
inline constexpr std::uint32_t kKeyWow64_64Key = 0x0100u;
inline constexpr std::uint32_t kKeyWow64_32Key = 0x0200u;

// Registry value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegDwordBigEndian = 5;
inline constexpr std::uint32_t kRegLink = 6;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;
inline constexpr std::int32_t kErrorSuccess = 0;
inline constexpr std::int32_t kErrorMoreData = 234;

// Drive types, as GetDriveTypeW gives them.
inline constexpr std::uint32_t kDriveUnknown = 0;
inline constexpr std::uint32_t kDriveNoRootDir = 1;
inline constexpr std::uint32_t kDriveFixed = 3;
inline constexpr std::uint32_t kDriveRemote = 4;

// An open registry key, as the platform numbers it; 0 is no key.
using RegistryKey = std::uintptr_t;

// A file opened for sequential reading of its raw bytes; closed when destroyed.
class ByteReader {
 public:
  virtual ~ByteReader() = default;
  // Reads up to `capacity` bytes into `buffer`; returns 0 only at the end of the file.
  virtual std::size_t Read(char* buffer, std::size_t capacity) = 0;
  // Goes back to the first byte of the file.
  virtual void Rewind() = 0;
};

// A process just created. Its handles are closed when this is destroyed; a process created
// suspended and never resumed is ended then, so nothing half-started is left behind.
class StartedProcess {
 public:
  virtual ~StartedProcess() = default;
  // The process's id.
  virtual std::uint32_t Id() const = 0;
  // Lets the first thread of a process created suspended run; raises on failure.
  virtual void Resume() = 0;
};

// The parameter block of the Open and Save dialogs, in the platform's terms but without its
// layout: the Win32 layer copies it into an OPENFILENAMEW and back. Buffers are sized by their
// text (the NULs included); an absent optional text is passed as a null pointer.
struct FileDialogBlock {
  std::uintptr_t owner = 0;
  bool has_filter = false;
  std::u16string filter;       // pairs of NUL-terminated texts, then one more NUL
  std::u16string file;         // the file buffer, FileName padded with NULs
  std::u16string file_title;   // the file-title buffer, all NULs on the way in
  std::u16string initial_dir;  // Directory followed by one NUL
  std::u16string title;        // the dialog's caption
  std::uint32_t flags = 0;
  bool has_default_ext = false;
  std::u16string default_ext;     // FileTitle followed by one NUL
  std::uint16_t file_offset = 0;  // out: where the file name starts in `file`
};

// --- What choosing a browser (linkvane.exe /choose) needs of the platform.

inline constexpr std::int32_t kErrorNoMoreItems = 259;  // ERROR_NO_MORE_ITEMS

// What the browser chooser shows when it opens: the list, each entry's command, the entry
// selected (none: -1) and the command box's text.
struct ChooserModel {
  std::vector<std::u16string> names;
  std::vector<std::u16string> commands;
  int selected = -1;
  std::u16string command;
  // For opening one address once: the title, the line above the list and the check box's
  // label ("" for each keeps the dialog as /choose shows it, the check box hidden).
  std::u16string title;
  std::u16string prompt;
  std::u16string always_label;
  bool always = false;  // the check box's state when it opens
  // The dialog's other words, in the user's language ("" keeps the template's English).
  std::u16string other_label;
  std::u16string command_label;
  std::u16string ok_label;
  std::u16string cancel_label;
};

// What the chooser asks of the logic while it is open.
class ChooserEvents {
 public:
  virtual ~ChooserEvents() = default;
  // "Other program...": the command for a program the user picks in the Open dialog (owned by
  // the chooser's window), or nothing when none was picked.
  virtual std::optional<std::u16string> PickProgram(std::uintptr_t owner) = 0;
  // OK with command in the command box (and the check box ticked or not): "" when it was taken
  // and the chooser closes, else why not, which the chooser shows before it lets the user go on.
  virtual std::u16string Accept(const std::u16string& command, bool always) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // The process's command line after the program's name and the blanks that follow it.
  virtual std::u16string CommandLineText() = 0;
  // The folder that holds the executable, without a final "\" except at a drive root.
  virtual std::u16string ExecutableDirectory() = 0;
  // The executable's own full path, in its long form.
  virtual std::u16string ExecutablePath() = 0;
  // Shows a modal message box without owner and returns the button pressed (0 on failure).
  virtual int ShowMessage(const std::u16string& text, std::uint32_t flags,
                          const std::u16string& title) = 0;
  // Creates a process running application (a full path) with command_line as it stands, in the
  // current folder directory, with the window show state and the creation flags, without
  // waiting for it; raises on failure.
  virtual std::unique_ptr<StartedProcess> StartProcess(const std::u16string& application,
                                                       const std::u16string& command_line,
                                                       const std::u16string& directory,
                                                       int show_state, std::uint32_t flags) = 0;
  // Lets that process alone bring its window to the front; a refusal is no error.
  virtual void AllowForeground(std::uint32_t process_id) = 0;

  // The system folder (System32, or SysWOW64 for a 32-bit program on 64-bit Windows).
  virtual std::u16string SystemDirectory() = 0;
  // The Windows folder.
  virtual std::u16string WindowsDirectory() = 0;
  // True for a 32-bit program on 64-bit Windows, where %ProgramFiles% names the x86 folder.
  virtual bool RunsUnderWow64() = 0;
  // The value of an environment variable of the process; nothing when it is not set.
  virtual std::optional<std::u16string> EnvironmentVariable(const std::u16string& name) = 0;

  // True when a disk file (not a folder or a device) exists at path.
  virtual bool FileExists(const std::u16string& path) = 0;
  // True when path is a Store app's execution alias: a file that can be started but not opened.
  virtual bool IsExecutionAlias(const std::u16string& path) = 0;
  // Opens an existing file for reading, never creating one; raises on failure.
  virtual std::unique_ptr<ByteReader> OpenFileForReading(const std::u16string& path) = 0;
  // Converts text in the system's ANSI code page to UTF-16.
  virtual std::u16string AnsiToUtf16(std::string_view bytes) = 0;
  // True when the ANSI code page has one byte for each character. When unsure, false: text is
  // then decoded before it is searched, which is right for every code page.
  virtual bool AnsiIsSingleByte() { return false; }

  // IdnToAscii: a Unicode host name in its ASCII (punycode) form; nothing when IDN refuses it.
  virtual std::optional<std::u16string> IdnToAscii(const std::u16string& host) = 0;

  // True when text has the form of a URL (a drive path is not one).
  virtual bool PathIsUrl(const std::u16string& text) = 0;
  // Writes the file-system path of a file URL into buffer (its size is the capacity) and the
  // path's length into length; the result code is the caller's to ignore.
  virtual std::int32_t CreatePathFromUrl(const std::u16string& url, std::u16string& buffer,
                                         std::uint32_t& length) = 0;

  // ExpandEnvironmentStringsW: characters required or written, NUL included; 0 on failure.
  virtual std::uint32_t ExpandEnvironment(const std::u16string& source, char16_t* destination,
                                          std::uint32_t size) = 0;

  // RegOpenKeyExW; returns a Win32 error code.
  virtual std::int32_t OpenRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                       std::uint32_t options, std::uint32_t access,
                                       RegistryKey& key) = 0;
  // RegQueryValueExW; data may be null for a size query. Returns a Win32 error code.
  virtual std::int32_t QueryRegistryValue(RegistryKey key, const std::u16string& name,
                                          std::uint32_t* type, std::uint8_t* data,
                                          std::uint32_t* size) = 0;
  // RegCloseKey; returns a Win32 error code.
  virtual std::int32_t CloseRegistryKey(RegistryKey key) = 0;

  // Writing the registry: each of these raises on failure.
  // RegCreateKeyExW: root\subkey opened with access, created with the keys above it if missing.
  virtual RegistryKey CreateRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                        std::uint32_t access) = 0;
  // RegSetValueExW: text as a REG_SZ value.
  virtual void SetRegistryValue(RegistryKey key, const std::u16string& name,
                                const std::u16string& text) = 0;
  // RegDeleteValueW.
  virtual void DeleteRegistryValue(RegistryKey key, const std::u16string& name) = 0;
  // RegDeleteKeyExW in the view given (0 or kKeyWow64_64Key): a key with no subkeys, its values
  // and all.
  virtual void DeleteRegistryKey(std::uint32_t root, const std::u16string& subkey,
                                 std::uint32_t view) = 0;
  // RegQueryInfoKeyW: how many subkeys and values key holds.
  virtual void QueryRegistryKeyInfo(RegistryKey key, std::uint32_t& subkeys,
                                    std::uint32_t& values) = 0;
  // SHChangeNotify(SHCNE_ASSOCCHANGED): tells Explorer that file associations changed.
  virtual void NotifyAssociationsChanged() = 0;

  // GetOpenFileNameW / GetSaveFileNameW: true when the user chose a file.
  virtual bool ShowOpenDialog(FileDialogBlock& block) = 0;
  virtual bool ShowSaveDialog(FileDialogBlock& block) = 0;
  // CommDlgExtendedError: 0 after a cancel, else the dialog's error code.
  virtual std::uint32_t DialogExtendedError() = 0;

  // --- The browser as a stock Windows PC has it.
  // The ASCII character that the ANSI code page's best-fit conversion makes of the non-ASCII
  // character c; 0 when it makes none (the default character, a non-ASCII one, or no best fit
  // at all, as in the UTF-8 code page).
  virtual char16_t AnsiBestFitAscii(char16_t c) = 0;
  // GetDriveTypeW of a drive's root ("X:\").
  virtual std::uint32_t DriveType(const std::u16string& root) = 0;
  // Asks the shell to open url with the class progid, as Windows starts a browser that has no
  // command of its own (one installed from the Store); raises the shell's error.
  virtual void OpenWithClass(const std::u16string& progid, const std::u16string& url) = 0;

  // --- Registering for every user (linkvane.exe /register /allusers).
  // The full path of the file at path with every junction and link on the way resolved, as
  // GetFinalPathNameByHandleW gives it ("\\?\C:\..."); raises on failure.
  virtual std::u16string FinalPath(const std::u16string& path) = 0;
  // The Program Files folders, which only administrators can change (FOLDERID_ProgramFiles,
  // FOLDERID_ProgramFilesX86, and under WoW64 the 64-bit programs' one); those it cannot tell
  // are left out.
  virtual std::vector<std::u16string> ProgramFilesFolders() = 0;

  // --- The user's language.
  // GetUserDefaultUILanguage: the LANGID of the user's display language.
  virtual std::uint16_t UserUiLanguage() = 0;
  // LocaleNameToLCID: the LANGID of a language tag such as "de-AT"; 0 when Windows knows none.
  virtual std::uint16_t LanguageOfTag(const std::u16string& tag) = 0;
  // The executable's string id stored under exactly that LANGID; nothing when it has none.
  virtual std::optional<std::u16string> LoadText(std::uint16_t language, std::uint32_t id) = 0;
  // Windows and message boxes are laid out right to left from now on (set before the first).
  virtual void UseRightToLeft() = 0;
  // The LANGID of Windows' error descriptions from now on (0, as at start: the user's own).
  virtual void UseErrorLanguage(std::uint16_t language) = 0;

  // --- Choosing a browser (linkvane.exe /choose).
  // RegEnumKeyExW: the name of key's subkey at index; returns a Win32 error code,
  // kErrorNoMoreItems past the last one.
  virtual std::int32_t EnumRegistrySubkeys(RegistryKey key, std::uint32_t index,
                                           std::u16string& name) = 0;
  // SHLoadIndirectString: the text that an indirect string ("@file,-id") names; "" when none.
  virtual std::u16string LoadIndirectString(const std::u16string& source) = 0;
  // text in the ANSI code page; nothing when the code page cannot hold it exactly.
  virtual std::optional<std::string> Utf16ToAnsiExactly(std::u16string_view text) = 0;
  // Creates the folder at path; one that exists already is no error. Raises on failure.
  virtual void CreateFolder(const std::u16string& path) = 0;
  // Writes bytes to a new file at path (one there is overwritten) and flushes them to the disk;
  // raises on failure.
  virtual void WriteNewFile(const std::u16string& path, std::string_view bytes) = 0;
  // ReplaceFileW: replacement takes the place of the file at target, whose old file is renamed
  // to backup. Raises its error: 1175 and 1176 leave both files as they were, 1177 leaves the
  // old file as backup and replacement under its own name.
  virtual void ReplaceWithBackup(const std::u16string& target, const std::u16string& replacement,
                                 const std::u16string& backup) = 0;
  // MoveFileExW: renames the file at from to to, replacing a file there; raises on failure.
  virtual void RenameFile(const std::u16string& from, const std::u16string& to) = 0;
  // The id of this process, which keeps the names of its working files apart from another's.
  virtual std::uint32_t CurrentProcessId() = 0;
  // Deletes the file at path; raises on failure.
  virtual void RemoveFile(const std::u16string& path) = 0;
  // Shows the browser chooser (a modal dialog) until OK is accepted or the user cancels; true
  // for OK. Raises when it cannot be shown, and passes on what the events raise.
  virtual bool ShowChooserDialog(const ChooserModel& model, ChooserEvents& events) = 0;
};

}  // namespace linkvane
