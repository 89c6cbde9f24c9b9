#include "dialogs/registered_browsers.h"

#include <algorithm>

#include "system/registry_key.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"

namespace linkvane::chooser {

namespace {

constexpr char16_t kClients[] = u"Software\\Clients\\StartMenuInternet";

// Where browsers are registered, in the order they count: a 32-bit program sees only one view
// of the computer's registry unless it asks for the other.
struct Hive {
  std::uint32_t root;
  std::uint32_t view;
};
constexpr Hive kHives[] = {
    {kHkeyCurrentUser, 0},
    {kHkeyLocalMachine, kKeyWow64_64Key},
    {kHkeyLocalMachine, kKeyWow64_32Key},
};

// The names of the subkeys of root\key in that view.
std::vector<std::u16string> SubkeyNames(Platform& platform, const Hive& hive,
                                        const std::u16string& key) {
  std::vector<std::u16string> names;
  RegistryKey opened = 0;
  if (platform.OpenRegistryKey(hive.root, key, 0, kKeyRead | hive.view, opened) != kErrorSuccess) {
    return names;
  }
  const UniqueRegistryKey owner(platform, opened);
  std::u16string name;
  for (std::uint32_t index = 0;
       platform.EnumRegistrySubkeys(owner.get(), index, name) == kErrorSuccess; ++index) {
    names.push_back(name);
  }
  return names;
}

// A text value of the key, "" when there is none.
std::u16string TextValue(Platform& platform, const Hive& hive, const std::u16string& key,
                         const std::u16string& name, bool interpret) {
  const RegistryValue value =
      systemfn::ReadRegistryValue(platform, hive.root, key, name, hive.view, interpret);
  return value.IsText() ? value.AsText() : std::u16string();
}

// The open command of a ProgId, as Windows merges the user's classes over the computer's.
std::u16string ProgIdOpenCommand(Platform& platform, const std::u16string& progid) {
  const RegistryValue value =
      systemfn::ReadClassesValue(platform, progid + u"\\shell\\open\\command\\");
  return value.IsText() ? value.AsText() : std::u16string();
}

// The browser registered under key; its template stays empty when it has no open command.
RegisteredBrowser ReadBrowser(Platform& platform, const Hive& hive, const std::u16string& key,
                              const std::u16string& key_name) {
  RegisteredBrowser browser;
  browser.name = TextValue(platform, hive, key + u"\\Capabilities", u"ApplicationName", true);
  if (!browser.name.empty() && browser.name[0] == u'@') {
    browser.name = platform.LoadIndirectString(browser.name);
  }
  if (browser.name.empty()) browser.name = TextValue(platform, hive, key, u"", true);
  if (browser.name.empty()) browser.name = key_name;

  // The browser's own handler of web addresses, else the command that starts it plainly.
  browser.progid =
      TextValue(platform, hive, key + u"\\Capabilities\\URLAssociations", u"http", false);
  if (!browser.progid.empty()) browser.open_command = ProgIdOpenCommand(platform, browser.progid);
  if (!browser.open_command.empty()) {
    browser.command_template = systemfn::TemplateFromOpenCommand(browser.open_command);
    return browser;
  }
  browser.open_command = TextValue(platform, hive, key + u"\\shell\\open\\command", u"", false);
  if (!browser.open_command.empty()) browser.command_template = browser.open_command + u" %s";
  return browser;
}

// True when a comes before b in a list sorted by name, letter case aside.
bool NameBefore(const std::u16string& a, const std::u16string& b) {
  return std::lexicographical_compare(
      a.begin(), a.end(), b.begin(), b.end(),
      [](char16_t x, char16_t y) { return FoldCase(x) < FoldCase(y); });
}

}  // namespace

std::vector<RegisteredBrowser> ListRegisteredBrowsers(Platform& platform) {
  std::vector<RegisteredBrowser> browsers;
  // The keys listed, each between backslashes, which no key's name holds.
  std::u16string listed = u"\\";
  for (const Hive& hive : kHives) {
    for (const std::u16string& key_name : SubkeyNames(platform, hive, kClients)) {
      if (FindNoCase(listed, u"\\" + key_name + u"\\") != kNotFound) continue;
      RegisteredBrowser browser =
          ReadBrowser(platform, hive, std::u16string(kClients) + u"\\" + key_name, key_name);
      if (browser.command_template.empty()) continue;
      listed += key_name + u"\\";
      // In the order of their names; a computer has a handful.
      auto at = browsers.begin();
      while (at != browsers.end() && !NameBefore(browser.name, at->name)) ++at;
      browsers.insert(at, std::move(browser));
    }
  }
  return browsers;
}

}  // namespace linkvane::chooser
