#include "launcher/registration.h"

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "language/language.h"
#include "language/text_ids.h"
#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "platform/command_line.h"
#include "system/registry_key.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

using language::LeftToRight;
using language::Say;
using language::Text;

namespace {

constexpr std::u16string_view kProgId = u"Linkvane.Shortcut";
// Explorer shows the verb in each user's language: the name is the exe's string 73.
static_assert(IDS_OPEN_WITH_VERB == 73);
constexpr std::u16string_view kOpenWithName = u"@\"*\",-73";
constexpr std::u16string_view kOlderOpenWithName = u"Open in another browser\u2026";
// Stands for the exe's full path in an entry's data; no Windows path holds one.
constexpr char16_t kExePath = u'*';

enum class Role {
  kValue,             // written; removed while it is as written
  kOwner,             // starts a group; names the exe, so it tells whose the group is
  kExtensionDefault,  // an extension's program: written only where no other program has it
};

// One value that /register writes, under the root of the request's scope.
struct Entry {
  Role role;
  std::u16string_view key;
  std::u16string_view name;  // "" is the key's default value
  std::u16string_view data;
  std::u16string_view older = {};  // what an earlier version wrote instead, removed alike
};

// What is written, in order. Each group begins with its owner, the value that names the exe:
// /unregister removes a group's values only while its owner still names this linkvane.exe, so
// that another copy's registration stays. The first value written is an owner, so a request
// without the rights to write fails before it has changed anything.
constexpr Entry kEntries[] = {
    {Role::kOwner, u"Software\\Classes\\Linkvane.Shortcut\\shell\\open\\command", u"",
     u"\"*\" \"%1\""},
    {Role::kValue, u"Software\\Classes\\Linkvane.Shortcut", u"", u"Web location shortcut"},
    {Role::kValue, u"Software\\Classes\\Linkvane.Shortcut\\DefaultIcon", u"", u"\"*\",0"},
    {Role::kValue, u"Software\\Classes\\.webloc\\OpenWithProgids", kProgId, u""},
    {Role::kExtensionDefault, u"Software\\Classes\\.webloc", u"", kProgId},
    {Role::kValue, u"Software\\Classes\\.desktop\\OpenWithProgids", kProgId, u""},
    {Role::kExtensionDefault, u"Software\\Classes\\.desktop", u"", kProgId},
    // .url stays Windows' own: Linkvane is only offered under "Open with".
    {Role::kValue, u"Software\\Classes\\.url\\OpenWithProgids", kProgId, u""},
    {Role::kOwner, u"Software\\Linkvane\\Capabilities", u"ApplicationIcon", u"\"*\",0"},
    {Role::kValue, u"Software\\Linkvane\\Capabilities", u"ApplicationName", u"Linkvane"},
    {Role::kValue, u"Software\\Linkvane\\Capabilities", u"ApplicationDescription",
     u"Opens web-location shortcut files in a browser"},
    {Role::kValue, u"Software\\Linkvane\\Capabilities\\FileAssociations", u".webloc", kProgId},
    {Role::kValue, u"Software\\Linkvane\\Capabilities\\FileAssociations", u".desktop", kProgId},
    {Role::kValue, u"Software\\Linkvane\\Capabilities\\FileAssociations", u".url", kProgId},
    {Role::kValue, u"Software\\RegisteredApplications", u"Linkvane",
     u"Software\\Linkvane\\Capabilities"},
    // "Open in another browser…" on each type, whatever program opens it: Windows shows a
    // SystemFileAssociations verb beside the owner's own.
    {Role::kOwner,
     u"Software\\Classes\\SystemFileAssociations\\.url\\shell\\Linkvane.OpenWith\\command", u"",
     u"\"*\" /openwith \"%1\""},
    {Role::kValue, u"Software\\Classes\\SystemFileAssociations\\.url\\shell\\Linkvane.OpenWith",
     u"MUIVerb", kOpenWithName, kOlderOpenWithName},
    {Role::kOwner,
     u"Software\\Classes\\SystemFileAssociations\\.webloc\\shell\\Linkvane.OpenWith\\command", u"",
     u"\"*\" /openwith \"%1\""},
    {Role::kValue, u"Software\\Classes\\SystemFileAssociations\\.webloc\\shell\\Linkvane.OpenWith",
     u"MUIVerb", kOpenWithName, kOlderOpenWithName},
    {Role::kOwner,
     u"Software\\Classes\\SystemFileAssociations\\.desktop\\shell\\Linkvane.OpenWith\\command", u"",
     u"\"*\" /openwith \"%1\""},
    {Role::kValue, u"Software\\Classes\\SystemFileAssociations\\.desktop\\shell\\Linkvane.OpenWith",
     u"MUIVerb", kOpenWithName, kOlderOpenWithName},
};

// Where Explorer keeps the current user's choice of program for each extension.
constexpr std::u16string_view kFileExts =
    u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
constexpr std::u16string_view kOwnCommand = kEntries[0].key;

// The extension whose key holds the entry's value (".webloc" for
// "Software\Classes\.webloc\OpenWithProgids"); "" when it is no extension's.
std::u16string_view ExtensionOf(const Entry& entry) {
  constexpr std::u16string_view classes = u"Software\\Classes\\.";
  if (entry.key.substr(0, classes.size()) != classes) return {};
  const std::u16string_view rest = entry.key.substr(classes.size() - 1);
  return rest.substr(0, rest.find(u'\\'));
}

// Keys that other programs share: never deleted, even when empty.
constexpr std::u16string_view kSharedKeys[] = {u"Software", u"Software\\Classes",
                                               u"Software\\RegisteredApplications"};

// Where a request writes: the current user's keys, or the machine's in the 64-bit view where
// Windows has one (the one Explorer and Settings read).
class Scope {
 public:
  Scope(Platform& platform, const RequestOptions& options)
      : platform_(platform),
        all_users_(options.all_users),
        root_(options.all_users ? kHkeyLocalMachine : kHkeyCurrentUser),
        view_(options.all_users ? kKeyWow64_64Key : 0),
        exe_(platform.ExecutablePath()) {}

  const std::u16string& exe() const { return exe_; }

  // The entry's data, the exe's path put in.
  std::u16string DataOf(const Entry& entry) const {
    std::u16string data(entry.data);
    const std::size_t at = data.find(kExePath);
    if (at != std::u16string::npos) data.replace(at, 1, exe_);
    return data;
  }

  // The text of a value, in this scope's root or another; nothing when it is missing or no text.
  std::optional<std::u16string> Read(std::u16string_view key, std::u16string_view name,
                                     std::uint32_t root = 0) const {
    const RegistryValue value =
        systemfn::ReadRegistryValue(platform_, root != 0 ? root : root_, std::u16string(key),
                                    std::u16string(name), view_, false);
    if (!value.IsText()) return std::nullopt;
    return value.AsText();
  }

  // Writes the entry's value; when that fails, a key it had to create goes again.
  void Write(const Entry& entry) {
    const std::u16string key_name(entry.key);
    const UniqueRegistryKey key(platform_,
                                platform_.CreateRegistryKey(root_, key_name, kKeyWrite | view_));
    if (auto error = ContinueOnError([&] {
          platform_.SetRegistryValue(key.get(), std::u16string(entry.name), DataOf(entry));
        })) {
      ContinueOnError([&] { Prune(key_name); });
      throw *error;
    }
  }

  // Deletes the entry's value, then the keys that this leaves empty.
  void Remove(const Entry& entry) {
    {
      const UniqueRegistryKey key(platform_, Open(entry.key));
      platform_.DeleteRegistryValue(key.get(), std::u16string(entry.name));
    }
    Prune(std::u16string(entry.key));
  }

  // True when another program opens files of extension in this scope: the extension's
  // default (for one user, the machine's when the user has none), or the user's choice in
  // Explorer, which Windows 8 and later keep apart.
  bool OtherProgramHas(std::u16string_view extension) const {
    std::u16string key = u"Software\\Classes\\";
    key += extension;
    std::optional<std::u16string> program = Read(key, u"");
    if (!all_users_) {
      if (!program || program->empty()) program = Read(key, u"", kHkeyLocalMachine);
      if (IsOtherProgram(program)) return true;
      key = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
      key.append(extension).append(u"\\UserChoice");
      program = Read(key, u"ProgId");
    }
    return IsOtherProgram(program);
  }

  // Once no Linkvane.Shortcut is left to open files of extension, deletes the current user's
  // choices in Explorer that still name it, which would leave the files opening with nothing.
  // Another program's choice stays. (Other users' choices are out of reach.)
  void ForgetDeadChoices(std::u16string_view extension) {
    for (const std::uint32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
      if (Read(kOwnCommand, u"", root)) return;
    }
    for (const std::u16string_view choice : {u"\\UserChoice", u"\\UserChoiceLatest"}) {
      std::u16string key(kFileExts);
      key.append(extension).append(choice);
      // Newer Windows keeps the ProgId of the latest choice in a subkey of its own.
      std::optional<std::u16string> program = Read(key, u"ProgId", kHkeyCurrentUser);
      if (!program) program = Read(key + u"\\ProgId", u"ProgId", kHkeyCurrentUser);
      if (program && EqualsNoCase(*program, kProgId)) {
        ContinueOnError([&] { DeleteTree(key); });
      }
    }
  }

 private:
  // Deletes the current user's key with all its subkeys.
  void DeleteTree(const std::u16string& key) {
    for (;;) {
      std::u16string child;
      RegistryKey opened = 0;
      const std::int32_t status =
          platform_.OpenRegistryKey(kHkeyCurrentUser, key, 0, kKeyRead, opened);
      if (status != kErrorSuccess) throw PlatformError(status, u"The key cannot be opened.");
      const UniqueRegistryKey parent(platform_, opened);
      if (platform_.EnumRegistrySubkeys(parent.get(), 0, child) != kErrorSuccess) break;
      DeleteTree(std::u16string(key).append(u"\\").append(child));
    }
    platform_.DeleteRegistryKey(kHkeyCurrentUser, key, 0);
  }

  RegistryKey Open(std::u16string_view key) {
    RegistryKey opened = 0;
    const std::int32_t status = platform_.OpenRegistryKey(root_, std::u16string(key), 0,
                                                          kKeyRead | kKeyWrite | view_, opened);
    if (status != kErrorSuccess) throw PlatformError(status, u"The registry key cannot be opened.");
    return opened;
  }

  // Deletes key and the keys above it while they hold nothing, up to the shared ones.
  void Prune(std::u16string key) {
    while (IsOwnKey(key) && IsEmpty(key)) {
      platform_.DeleteRegistryKey(root_, key, view_);
      key.resize(key.rfind(u'\\'));
    }
  }

  static bool IsOtherProgram(const std::optional<std::u16string>& program) {
    return program && !program->empty() && !EqualsNoCase(*program, kProgId);
  }

  static bool IsOwnKey(const std::u16string& key) {
    for (std::u16string_view shared : kSharedKeys) {
      if (EqualsNoCase(key, shared)) return false;
    }
    return true;
  }

  bool IsEmpty(const std::u16string& key) {
    const UniqueRegistryKey opened(platform_, Open(key));
    std::uint32_t subkeys = 0;
    std::uint32_t values = 0;
    platform_.QueryRegistryKeyInfo(opened.get(), subkeys, values);
    return subkeys == 0 && values == 0;
  }

  Platform& platform_;
  bool all_users_;
  std::uint32_t root_;
  std::uint32_t view_;
  std::u16string exe_;
};

// The request's box, unless /quiet: what it did (head, a text said for you, followed by the
// one said for every user) for whom, the exe it concerned (path), then tail, and the error
// that stopped it, if one did. Returns the exit status, a failure's when there was an error or
// the request was refused.
int Tell(Platform& platform, const RequestOptions& options, const PlatformError* error,
         std::uint16_t head, std::u16string_view path, std::u16string_view tail,
         bool refused = false) {
  refused = refused || error != nullptr;
  if (!options.quiet) {
    std::u16string text = Say(options.all_users ? head + 1 : head, {LeftToRight(path)});
    text.append(u"\r\n\r\n").append(tail);
    if (error != nullptr) {
      text.append(u"\r\n\r\n").append(messages::ErrorCode(error->Number(), error->Description()));
      if (options.all_users) text.append(u"\r\n").append(Text(IDS_AS_ADMINISTRATOR));
    }
    platform.ShowMessage(text, refused ? messages::kErrorOk : messages::kInformationOk,
                         messages::kTitle);
  }
  return refused ? kExitNothingStarted : kExitStarted;
}

// The sentence about one extension (text one) or two (text two), such as "{1} and {2} files
// now open with it."; "" for none.
std::u16string AboutExtensions(std::uint16_t one, std::uint16_t two,
                               const std::vector<std::u16string_view>& extensions) {
  if (extensions.empty()) return std::u16string();
  return extensions.size() == 1 ? Say(one, {extensions[0]})
                                : Say(two, {extensions[0], extensions[1]});
}

// Removes every value that /register wrote for this exe; true when anything was removed. The
// owner of another copy, if one holds the file types, goes into other; the extensions whose
// entries went, into extensions.
bool RemoveOwnEntries(Scope& scope, std::u16string& other,
                      std::vector<std::u16string_view>* extensions = nullptr) {
  bool owned = false;
  bool removed = false;
  for (const Entry& entry : kEntries) {
    const std::optional<std::u16string> found = scope.Read(entry.key, entry.name);
    const bool as_written = found && (EqualsNoCase(*found, scope.DataOf(entry)) ||
                                      (!entry.older.empty() && *found == entry.older));
    if (entry.role == Role::kOwner) {
      owned = as_written;
      if (!owned && found && other.empty()) other = ProgramNameOf(*found);
    }
    if (owned && as_written) {
      scope.Remove(entry);
      removed = true;
      const std::u16string_view extension = ExtensionOf(entry);
      if (extensions && !extension.empty() &&
          std::find(extensions->begin(), extensions->end(), extension) == extensions->end()) {
        extensions->push_back(extension);
      }
    }
  }
  return removed;
}

// True when this copy, and the browser.dat beside it, lie where only administrators can change
// them, so that it is safe to make every user run it. Its links are resolved: a junction in
// Program Files that leads elsewhere does not count.
bool IsProtectedCopy(Platform& platform) {
  std::u16string path;
  if (ContinueOnError([&] { path = platform.FinalPath(platform.ExecutablePath()); })) return false;
  return InProtectedFolder(path, platform.ProgramFilesFolders(),
                           {platform.WindowsDirectory(), platform.SystemDirectory()});
}

}  // namespace

int RegisterShortcutTypes(Platform& platform, const RequestOptions& options) {
  Scope scope(platform, options);
  if (options.all_users && !IsProtectedCopy(platform)) {
    return Tell(platform, options, nullptr, IDS_NOT_REGISTERED_FOR_YOU, scope.exe(),
                Text(IDS_UNPROTECTED_COPY), true);
  }
  std::vector<std::u16string_view> taken;
  std::vector<std::u16string_view> kept;
  bool written = false;
  try {
    for (const Entry& entry : kEntries) {
      if (entry.role == Role::kExtensionDefault) {
        const std::u16string_view extension = entry.key.substr(entry.key.rfind(u'\\') + 1);
        const bool other = scope.OtherProgramHas(extension);
        (other ? kept : taken).push_back(extension);
        if (other) continue;
      }
      scope.Write(entry);
      written = true;
    }
  } catch (const PlatformError& error) {
    // Half a registration would be worse than none: what was written goes again.
    std::u16string ignored;
    if (written) ContinueOnError([&] { RemoveOwnEntries(scope, ignored); });
    platform.NotifyAssociationsChanged();
    return Tell(platform, options, &error, IDS_CANNOT_REGISTER_FOR_YOU, scope.exe(),
                Text(IDS_NOTHING_CHANGED));
  }
  platform.NotifyAssociationsChanged();

  std::u16string tail = AboutExtensions(IDS_TAKEN_ONE, IDS_TAKEN_TWO, taken);
  if (!taken.empty()) tail += u"\r\n";
  if (!kept.empty()) {
    tail.append(AboutExtensions(IDS_KEPT_ONE, IDS_KEPT_TWO, kept)).append(u" ");
    tail.append(Text(IDS_HOW_TO_OPEN_WITH)).append(u"\r\n");
  }
  tail += Text(IDS_URL_STAYS);
  return Tell(platform, options, nullptr, IDS_REGISTERED_FOR_YOU, scope.exe(), tail);
}

int UnregisterShortcutTypes(Platform& platform, const RequestOptions& options) {
  Scope scope(platform, options);
  std::u16string other;
  std::vector<std::u16string_view> extensions;
  bool removed = false;
  try {
    removed = RemoveOwnEntries(scope, other, &extensions);
    for (const std::u16string_view extension : extensions) scope.ForgetDeadChoices(extension);
  } catch (const PlatformError& error) {
    platform.NotifyAssociationsChanged();
    return Tell(platform, options, &error, IDS_CANNOT_UNREGISTER_FOR_YOU, scope.exe(),
                Text(IDS_ENTRIES_MAY_REMAIN));
  }
  if (removed) {
    platform.NotifyAssociationsChanged();
    return Tell(platform, options, nullptr, IDS_UNREGISTERED_FOR_YOU, scope.exe(),
                Text(IDS_OTHERS_STAY));
  }
  if (!other.empty()) {
    return Tell(platform, options, nullptr, IDS_OTHER_COPY_FOR_YOU, other,
                Text(IDS_UNREGISTER_THAT_COPY));
  }
  return Tell(platform, options, nullptr, IDS_NOT_REGISTERED_FOR_YOU, scope.exe(),
              Text(IDS_NOTHING_TO_REMOVE));
}

}  // namespace linkvane::Module_Main
