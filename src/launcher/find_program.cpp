// The program a command starts, found the way Windows finds it but without ever looking in the
// current folder: when Explorer opens a document, that is the document's folder (Downloads, a
// USB stick), where anyone may have put a program of the browser's name.

#include "launcher/Module_Main.h"
#include "platform/command_line.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::int32_t kErrorFileNotFound = 2;  // ERROR_FILE_NOT_FOUND

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }
bool IsSlash(char16_t c) { return c == u'\\' || c == u'/'; }
bool IsAsciiLetter(char16_t c) { return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'); }

// A drive path ("C:\...") or a UNC path ("\\server\...").
bool IsAbsolute(std::u16string_view path) {
  if (path.size() >= 3 && IsAsciiLetter(path[0]) && path[1] == u':' && IsSlash(path[2])) {
    return true;
  }
  return path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1]);
}

// A name without any folder or drive in it.
bool IsBareName(std::u16string_view name) {
  return !name.empty() && name.find_first_of(u"\\/:") == std::u16string_view::npos;
}

// The path with ".exe" appended when its file name has no extension, as Windows does.
std::u16string WithExeExtension(std::u16string_view path) {
  const std::size_t name = path.find_last_of(u"\\/:");
  const std::size_t dot = path.rfind(u'.');
  std::u16string result(path);
  if (dot == std::u16string_view::npos || (name != std::u16string_view::npos && dot < name)) {
    result += u".exe";
  }
  return result;
}

// True when a program exists at path: a file, or a Store app's execution alias, which Windows
// starts by its path although it cannot be opened.
bool ProgramExists(Platform& platform, const std::u16string& path) {
  return platform.FileExists(path) || platform.IsExecutionAlias(path);
}

// The path of name in folder when that program exists, else "".
std::u16string ExistingIn(Platform& platform, std::u16string folder, std::u16string_view name) {
  if (!folder.empty() && !IsSlash(folder.back())) folder += u'\\';
  folder.append(name);
  return ProgramExists(platform, folder) ? folder : std::u16string();
}

// What Windows' Run box finds for a bare name through App Paths: the current user's entry, then
// the machine's, when it names an existing file by its full path. The machine's key is one for
// both views since Windows 7: its 64-bit view, which the shell reads, comes first, and the
// 32-bit one serves where the two are still apart (Wine).
std::u16string FromAppPaths(Platform& platform, const std::u16string& name) {
  for (const std::uint32_t view : {0u, kKeyWow64_64Key, kKeyWow64_32Key}) {
    std::u16string key = view == 0 ? u"HKEY_CURRENT_USER" : u"HKEY_LOCAL_MACHINE";
    key.append(u"\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\")
        .append(name)
        .append(u"\\");
    const RegistryValue value = systemfn::ReadRegistryValue(platform, key, false, view);
    if (!value.IsText()) continue;
    std::u16string path = value.AsText();
    StripQuotes(path);
    if (value.IsExpandable()) path = ExpandAsTheUserSees(platform, path);
    if (IsAbsolute(path) && ProgramExists(platform, path)) return path;
  }
  return std::u16string();
}

// The full path of an existing program named by candidate, or "".
std::u16string Locate(Platform& platform, std::u16string_view candidate) {
  if (IsAbsolute(candidate)) {
    std::u16string path = WithExeExtension(candidate);
    return ProgramExists(platform, path) ? path : std::u16string();
  }
  if (!IsBareName(candidate)) return std::u16string();  // relative: never the current folder
  const std::u16string name = WithExeExtension(candidate);
  std::u16string found = ExistingIn(platform, platform.ExecutableDirectory(), name);
  if (found.empty()) found = ExistingIn(platform, platform.SystemDirectory(), name);
  if (found.empty()) found = ExistingIn(platform, platform.WindowsDirectory(), name);
  // Then PATH's absolute folders, in order, without the quotes some entries carry.
  const std::u16string path = platform.EnvironmentVariable(u"PATH").value_or(u"");
  for (std::size_t from = 0; found.empty() && from <= path.size();) {
    std::size_t end = path.find(u';', from);
    if (end == std::u16string::npos) end = path.size();
    std::u16string folder = path.substr(from, end - from);
    std::erase(folder, u'"');
    if (IsAbsolute(folder)) found = ExistingIn(platform, std::move(folder), name);
    from = end + 1;
  }
  return found.empty() ? FromAppPaths(platform, name) : found;
}

}  // namespace

std::u16string FindProgram(Platform& platform, std::u16string_view command, std::size_t limit,
                           std::size_t& name_end) {
  std::vector<std::u16string_view> candidates;
  if (!command.empty() && command[0] == u'"') {
    const std::u16string_view name = ProgramNameOf(command);
    if (name.size() + 1 <= limit) candidates.push_back(name);
  } else {
    // An unquoted name with blanks: each longer prefix in turn, as Windows tries them, but
    // never one that reaches into the URL.
    for (std::size_t at = 0; at < command.size() && at <= limit; ++at) {
      if (IsBlank(command[at]) && at > 0 && !IsBlank(command[at - 1])) {
        candidates.push_back(command.substr(0, at));
      }
    }
    if (command.size() <= limit) candidates.push_back(command);
  }
  for (std::u16string_view candidate : candidates) {
    std::u16string path = Locate(platform, candidate);
    name_end = candidate.size();
    if (!path.empty()) return path;
  }
  throw PlatformError(kErrorFileNotFound, u"The system cannot find the file specified.");
}

}  // namespace linkvane::Module_Main
