#include "launcher/registration.h"

#include <optional>
#include <string>
#include <vector>

#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "platform/command_line.h"
#include "system/registry_key.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"
#include "text/decimal.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::u16string_view kProgId = u"Linkvane.Shortcut";
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
};

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
  bool all_users() const { return all_users_; }

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

  // The program that opens files of extension in this scope, if another program's: the
  // extension's default, which for one user falls back to the machine's, or the user's choice
  // in Explorer, which Windows 8 and later keep apart.
  std::optional<std::u16string> OtherProgramOf(std::u16string_view extension) const {
    const std::u16string classes = u"Software\\Classes\\" + std::u16string(extension);
    std::vector<std::optional<std::u16string>> programs{Read(classes, u"")};
    if (!all_users_) {
      if (!programs[0] || programs[0]->empty()) programs[0] = Read(classes, u"", kHkeyLocalMachine);
      programs.push_back(
          Read(u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\" +
                   std::u16string(extension) + u"\\UserChoice",
               u"ProgId"));
    }
    for (const auto& program : programs) {
      if (program && !program->empty() && !EqualsNoCase(*program, kProgId)) return program;
    }
    return std::nullopt;
  }

 private:
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

// The extension a key of Software\Classes names (".webloc").
std::u16string_view ExtensionOf(const Entry& entry) {
  return entry.key.substr(entry.key.rfind(u'\\') + 1);
}

// "a", "a and b": the extensions as a sentence says them.
std::u16string Listed(const std::vector<std::u16string_view>& extensions) {
  std::u16string text;
  for (std::size_t i = 0; i < extensions.size(); ++i) {
    if (i > 0) text += u" and ";
    text += extensions[i];
  }
  return text;
}

std::u16string ForWhom(const Scope& scope) {
  return scope.all_users() ? u"every user of this computer" : u"you";
}

// The request's box (none under /quiet); returns the exit status that goes with it.
int Report(Platform& platform, const RequestOptions& options, bool done,
           const std::u16string& text) {
  if (!options.quiet) {
    platform.ShowMessage(text, done ? messages::kInformationOk : messages::kErrorOk,
                         messages::kTitle);
  }
  return done ? kExitStarted : kExitNothingStarted;
}

// The failure's box: what could not be done, and why.
int ReportFailure(Platform& platform, const RequestOptions& options, std::u16string text,
                  const PlatformError& error) {
  text.append(u"\r\n\r\nError code = ").append(DecimalText(error.Number())).append(u" (");
  text.append(error.Description()).append(u").");
  if (options.all_users) text += u"\r\n\r\nFor every user, start it as an administrator.";
  return Report(platform, options, false, text);
}

// Removes every value that /register wrote for this exe; true when anything was removed. The
// owner of another copy, if one holds the file types, goes into other.
bool RemoveOwnEntries(Scope& scope, std::u16string& other) {
  bool owned = false;
  bool removed = false;
  for (const Entry& entry : kEntries) {
    const std::optional<std::u16string> found = scope.Read(entry.key, entry.name);
    const bool as_written = found && EqualsNoCase(*found, scope.DataOf(entry));
    if (entry.role == Role::kOwner) {
      owned = as_written;
      if (!owned && found && other.empty()) other = ProgramNameOf(*found);
    }
    if (owned && as_written) {
      scope.Remove(entry);
      removed = true;
    }
  }
  return removed;
}

}  // namespace

int RegisterShortcutTypes(Platform& platform, const RequestOptions& options) {
  Scope scope(platform, options);
  std::vector<std::u16string_view> taken;
  std::vector<std::u16string_view> kept;
  bool written = false;
  if (auto error = ContinueOnError([&] {
        for (const Entry& entry : kEntries) {
          if (entry.role == Role::kExtensionDefault) {
            auto& list = scope.OtherProgramOf(ExtensionOf(entry)) ? kept : taken;
            list.push_back(ExtensionOf(entry));
            if (&list == &kept) continue;
          }
          scope.Write(entry);
          written = true;
        }
      })) {
    // Half a registration would be worse than none: what was written goes again.
    std::u16string ignored;
    if (written) ContinueOnError([&] { RemoveOwnEntries(scope, ignored); });
    platform.NotifyAssociationsChanged();
    return ReportFailure(
        platform, options,
        u"Linkvane could not be registered for " + ForWhom(scope) + u"; nothing was changed.",
        *error);
  }
  platform.NotifyAssociationsChanged();

  std::u16string text = u"Linkvane is registered for " + ForWhom(scope) + u":\r\n" + scope.exe();
  if (!taken.empty()) text += u"\r\n\r\n" + Listed(taken) + u" files now open with it.";
  if (!kept.empty()) {
    text += u"\r\n\r\n" + Listed(kept) +
            u" files keep the program they open with. To open them with Linkvane, right-click "
            u"one, choose \"Open with\", then \"Choose another app\", select Linkvane and tick "
            u"\"Always\".";
  }
  text += u"\r\n\r\n.url files stay with Windows; Linkvane is under their \"Open with\".";
  return Report(platform, options, true, text);
}

int UnregisterShortcutTypes(Platform& platform, const RequestOptions& options) {
  Scope scope(platform, options);
  std::u16string other;
  bool removed = false;
  if (auto error = ContinueOnError([&] { removed = RemoveOwnEntries(scope, other); })) {
    platform.NotifyAssociationsChanged();
    return ReportFailure(platform, options,
                         u"Linkvane could not be unregistered for " + ForWhom(scope) + u".",
                         *error);
  }
  if (removed) {
    platform.NotifyAssociationsChanged();
    return Report(platform, options, true,
                  u"Linkvane is no longer registered for " + ForWhom(scope) + u":\r\n" +
                      scope.exe() +
                      u"\r\n\r\nFile types given to other programs stay as they are.");
  }
  if (!other.empty()) {
    return Report(platform, options, true,
                  u"Nothing was removed: the file types open with another copy of Linkvane "
                  u"for " +
                      ForWhom(scope) + u":\r\n" + other +
                      u"\r\n\r\nUnregister that copy to undo its registration.");
  }
  return Report(platform, options, true,
                u"Linkvane was not registered for " + ForWhom(scope) + u":\r\n" + scope.exe() +
                    u"\r\n\r\nThere was nothing to remove.");
}

}  // namespace linkvane::Module_Main
