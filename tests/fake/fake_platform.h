#pragma once

// An in-memory world for the logic's tests: files and folders, environment, registry, answers
// to message boxes and dialogs, and a record of what the program showed and started. Any
// operation can be made to fail.

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace linkvane::testing {

// Orders texts ignoring ASCII letter case, as Windows compares paths and names.
struct NoCaseLess {
  bool operator()(const std::u16string& a, const std::u16string& b) const;
};

// The operations that a test can make fail.
enum class Operation {
  kStartProcess,
  kOpenWithClass,
  kOpenFile,
  kReadFile,
  kExpandEnvironment,
  kOpenRegistryKey,
  kQueryRegistrySize,
  kQueryRegistryData,
  kCreateRegistryKey,
  kSetRegistryValue,
  kDeleteRegistryValue,
  kDeleteRegistryKey,
  kQueryRegistryKeyInfo,
  kCreateFolder,
  kWriteFile,
  kReplaceFile,  // fails as the error's number says: 1177 moves the old file to the backup
  kRenameFile,
  kRemoveFile,
};

// The computer's registry as a 32-bit program sees it when it asks for the 32-bit view on
// 64-bit Windows: a root of its own in the fake (used when under_wow64 is set).
inline constexpr std::uint32_t kHklm32View = 0x90000002u;

struct ShownMessage {
  std::u16string text;
  std::uint32_t flags;
  std::u16string title;
};

// What the fake dialog does when shown: choose path (file_offset where its name starts), or
// fail with error (0: the user cancelled).
struct DialogAnswer {
  bool choose = false;
  std::u16string path;
  std::uint32_t error = 0;
};

struct RegistryData {
  std::uint32_t type;
  std::string bytes;
};

// The first bytes of a program: an MZ header, then a PE header of an executable image with
// this subsystem (2: GUI, 3: console) and, with dll = 0x20, IMAGE_FILE_DLL.
inline std::string ProgramFile(char subsystem = 2, char dll = 0) {
  std::string bytes =
      "MZ" + std::string(0x3E, '\0') + std::string("PE\0\0", 4) + std::string(96, '\0');
  bytes[0x3C] = 0x40, bytes[0x40 + 22] = 2, bytes[0x40 + 23] = dll, bytes[0x40 + 92] = subsystem;
  return bytes;
}

class FakePlatform : public Platform {
 public:
  // --- The world, as the test sets it up.
  std::u16string full_command_line = u"linkvane.exe";
  std::u16string executable_directory = u"C:\\Linkvane";
  std::u16string executable_name = u"linkvane.exe";
  std::map<std::u16string, std::string, NoCaseLess> files;
  std::set<std::u16string, NoCaseLess> folders;
  std::set<std::u16string, NoCaseLess> execution_aliases;  // startable, never opened
  std::map<std::u16string, std::u16string> idn;  // Unicode host names IDN converts; no others
  std::map<std::u16string, std::u16string, NoCaseLess> environment;
  std::deque<int> message_answers;  // one per expected message box, in order
  std::deque<DialogAnswer> dialog_answers;
  std::u16string system_directory = u"C:\\Windows\\System32";
  std::u16string windows_directory = u"C:\\Windows";
  bool under_wow64 = false;
  // The programs that can be started, by full path; unset, every program can. Starting another
  // fails as on Windows. (Finding a program looks at files.)
  std::optional<std::set<std::u16string, NoCaseLess>> installed_programs;
  // What AnsiIsSingleByte says of the fake's code page (Windows-1252, one byte a character).
  bool ansi_single_byte = true;
  // A code page with double-byte characters instead, as the East Asian ones: a lead byte
  // 0x81-0xFE and the byte after it (0x40 or above, so it may be a marker's letter) make one
  // character. AnsiIsSingleByte is then false.
  bool ansi_double_byte = false;
  // The UTF-8 code page instead, which has no best fit.
  bool ansi_utf8 = false;
  // Files that cannot be renamed, as one another program holds open.
  std::set<std::u16string, NoCaseLess> unmovable;
  // Where a path leads through junctions and links, for FinalPath; unnamed, to itself.
  std::map<std::u16string, std::u16string, NoCaseLess> final_paths;
  std::vector<std::u16string> program_files = {u"C:\\Program Files", u"C:\\Program Files (x86)"};
  // Drive types by letter (lower case); a drive not named here is a fixed one.
  std::map<char16_t, std::uint32_t> drive_types;

  // What indirect strings ("@file,-id") stand for.
  std::map<std::u16string, std::u16string> indirect_strings;
  // What the user does in the chooser, in order: "=N" selects entry N, "Other program" picks the
  // next dialog answer, "Always" flips the check box, "OK" and "Cancel" press them, anything
  // else is typed as the command.
  // Running out of steps fails the test.
  std::deque<std::u16string> chooser_steps;

  // The user's display language, the tags Windows knows, and the executable's string tables
  // by LANGID.
  std::uint16_t ui_language = 0x0409;
  std::map<std::u16string, std::uint16_t, NoCaseLess> language_tags = {
      {u"en-US", 0x0409}, {u"de-DE", 0x0407}, {u"ja-JP", 0x0411}, {u"ar-EG", 0x0C01}};
  std::map<std::uint16_t, std::map<std::uint32_t, std::u16string>> string_tables;

  // --- The record of what happened.
  std::vector<ShownMessage> shown;
  std::vector<std::u16string> started;  // command lines
  std::vector<std::u16string> started_applications;
  std::vector<std::u16string> started_directories;
  std::vector<std::u16string> opened_with_class;  // "ProgId URL"
  std::vector<int> show_states;
  std::vector<std::uint32_t> creation_flags;
  std::vector<std::uint32_t> foreground_allowed;  // process ids
  std::vector<std::uint32_t> resumed;             // process ids
  std::vector<FileDialogBlock> dialogs;           // blocks as the logic filled them
  std::vector<bool> dialog_was_save;
  std::vector<ChooserModel> choosers;            // the chooser's contents as the logic made them
  std::vector<std::u16string> chooser_refusals;  // what the chooser showed after OK
  int registry_calls = 0;
  int url_tests = 0;  // PathIsUrl calls: the shell's test, whose DLLs a plain path must not load
  std::set<RegistryKey> open_keys;
  std::vector<std::uint32_t> write_access;  // the access (create) or view (delete) of each write
  int association_notices = 0;              // NotifyAssociationsChanged calls
  int texts_loaded = 0;                     // LoadText calls
  bool right_to_left = false;               // UseRightToLeft was called
  std::optional<std::uint16_t> error_language;  // what UseErrorLanguage was given

  // Makes every later call of operation fail with error (a PlatformError for operations that
  // raise, its number as the result code for those that return one).
  void Fail(Operation operation, std::int32_t number = 5,
            std::u16string description = u"Access is denied.");
  void Succeed(Operation operation) { failures_.erase(operation); }

  // Stores a registry value under root\key (created as needed); an empty name is the default.
  // HKEY_CLASSES_ROOT is the machine's Software\Classes, as under Wine.
  void SetRegistryValue(std::uint32_t root, const std::u16string& key, const std::u16string& name,
                        std::uint32_t type, std::string bytes);
  // Stores text as a REG_SZ (or type) value with its terminating NUL.
  void SetRegistryText(std::uint32_t root, const std::u16string& key, const std::u16string& name,
                       const std::u16string& text, std::uint32_t type = kRegSz);
  // Creates an empty key, and those on its way.
  void CreateRegistryKey(std::uint32_t root, const std::u16string& key);

  // Writes a file from UTF-8 text (or any bytes).
  void AddFile(const std::u16string& path, std::string bytes) { files[path] = std::move(bytes); }

  // --- Platform
  std::u16string CommandLineText() override;
  std::u16string ExecutableDirectory() override { return executable_directory; }
  std::u16string ExecutablePath() override {
    return executable_directory + u"\\" + executable_name;
  }
  int ShowMessage(const std::u16string& text, std::uint32_t flags,
                  const std::u16string& title) override;
  std::unique_ptr<StartedProcess> StartProcess(const std::u16string& application,
                                               const std::u16string& command_line,
                                               const std::u16string& directory, int show_state,
                                               std::uint32_t flags) override;
  void AllowForeground(std::uint32_t process_id) override {
    foreground_allowed.push_back(process_id);
  }
  std::u16string SystemDirectory() override { return system_directory; }
  std::u16string WindowsDirectory() override { return windows_directory; }
  bool RunsUnderWow64() override { return under_wow64; }
  std::optional<std::u16string> EnvironmentVariable(const std::u16string& name) override;
  bool FileExists(const std::u16string& path) override;
  std::optional<std::u16string> IdnToAscii(const std::u16string& host) override {
    const auto found = idn.find(host);
    if (found == idn.end()) return std::nullopt;
    return found->second;
  }
  bool IsExecutionAlias(const std::u16string& path) override {
    return execution_aliases.count(path) != 0;
  }
  std::unique_ptr<ByteReader> OpenFileForReading(const std::u16string& path) override;
  std::u16string AnsiToUtf16(std::string_view bytes) override;
  bool AnsiIsSingleByte() override { return ansi_single_byte && !ansi_double_byte; }
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
  void NotifyAssociationsChanged() override { ++association_notices; }

  // Every key of root, by its path, with its values as text: what a test compares.
  using RegistryTextMap =
      std::map<std::u16string, std::map<std::u16string, std::u16string, NoCaseLess>, NoCaseLess>;
  RegistryTextMap RegistryTexts(std::uint32_t root);
  bool ShowOpenDialog(FileDialogBlock& block) override { return ShowDialog(block, false); }
  bool ShowSaveDialog(FileDialogBlock& block) override { return ShowDialog(block, true); }
  std::uint32_t DialogExtendedError() override { return last_dialog_error_; }
  char16_t AnsiBestFitAscii(char16_t c) override;
  std::uint32_t DriveType(const std::u16string& root) override;
  void OpenWithClass(const std::u16string& progid, const std::u16string& url) override;
  std::int32_t EnumRegistrySubkeys(RegistryKey key, std::uint32_t index,
                                   std::u16string& name) override;
  std::u16string LoadIndirectString(const std::u16string& source) override;
  std::optional<std::string> Utf16ToAnsiExactly(std::u16string_view text) override;
  void CreateFolder(const std::u16string& path) override;
  std::u16string FinalPath(const std::u16string& path) override {
    const auto found = final_paths.find(path);
    return found != final_paths.end() ? found->second : u"\\\\?\\" + path;
  }
  std::vector<std::u16string> ProgramFilesFolders() override { return program_files; }
  void WriteNewFile(const std::u16string& path, std::string_view bytes) override;
  void ReplaceWithBackup(const std::u16string& target, const std::u16string& replacement,
                         const std::u16string& backup) override;
  void RenameFile(const std::u16string& from, const std::u16string& to) override;
  std::uint32_t CurrentProcessId() override { return 77; }
  void RemoveFile(const std::u16string& path) override;
  bool ShowChooserDialog(const ChooserModel& model, ChooserEvents& events) override;
  std::uint16_t UserUiLanguage() override { return ui_language; }
  std::uint16_t LanguageOfTag(const std::u16string& tag) override {
    const auto found = language_tags.find(tag);
    return found == language_tags.end() ? 0 : found->second;
  }
  std::optional<std::u16string> LoadText(std::uint16_t language, std::uint32_t id) override;
  void UseRightToLeft() override { right_to_left = true; }
  void UseErrorLanguage(std::uint16_t language) override { error_language = language; }

 private:
  using RegistryKeyValues = std::map<std::u16string, RegistryData, NoCaseLess>;
  const PlatformError* FailureOf(Operation operation) const;
  RegistryKeyValues* FindKey(std::uint32_t root, const std::u16string& key);
  struct OpenKey {
    std::uint32_t root;
    std::u16string name;
  };
  // The open key's values; raises an invalid-handle error for a key not open.
  RegistryKeyValues& ValuesOf(RegistryKey key);
  RegistryKey NewHandle(std::uint32_t root, const std::u16string& name);
  std::set<std::u16string, NoCaseLess> SubkeysOf(std::uint32_t root, const std::u16string& key);
  void Raise(Operation operation) const;
  bool ShowDialog(FileDialogBlock& block, bool save);

  std::map<Operation, PlatformError> failures_;
  std::map<std::uint32_t, std::map<std::u16string, RegistryKeyValues, NoCaseLess>> registry_;
  std::map<RegistryKey, OpenKey> handles_;
  RegistryKey next_handle_ = 0x100;
  std::uint32_t last_dialog_error_ = 0;
};

// UTF-16 from UTF-8, and back, for writing tests' texts.
std::u16string U16(std::string_view utf8);
std::string U8(std::u16string_view text);

}  // namespace linkvane::testing
