#pragma once

// System helpers: typed registry values named by one path string, environment expansion, and
// the registry lookups of the default browser.

#include <string>

#include "platform/platform.h"
#include "system/registry_value.h"

namespace linkvane::systemfn {

// text with its %NAME% references replaced by the variables' values; "" when expansion fails.
std::u16string ExpandEnvironmentString(Platform& platform, const std::u16string& text);

// The same, but a failed expansion raises instead of passing for an empty one.
std::u16string ExpandEnvironmentStringChecked(Platform& platform, const std::u16string& text);

// The value named by "ROOT\key path\value name" (a final "\" names the default value); empty
// when nothing can be read. With interpret set, expandable strings are expanded and
// multi-strings split. Raises an invalid-argument error for a path that cannot be split. view
// may ask for one view of the registry on 64-bit Windows (kKeyWow64_64Key, kKeyWow64_32Key).
RegistryValue ReadRegistryValue(Platform& platform, const std::u16string& path, bool interpret,
                                std::uint32_t view = 0);

// ReadRegistryValue for a value named by its parts, read in the registry view given (0 or
// kKeyWow64_64Key); an empty name is the key's default value.
RegistryValue ReadRegistryValue(Platform& platform, std::uint32_t root,
                                const std::u16string& key_path, const std::u16string& value_name,
                                std::uint32_t view, bool interpret);

// The value named by "key path\value name" (a final "\" names the default value) under
// HKEY_CLASSES_ROOT as Windows merges it: the current user's Software\Classes, then the
// machine's. Read with interpret off; empty when neither holds it.
RegistryValue ReadClassesValue(Platform& platform, const std::u16string& path);

// True when key exists under HKEY_CLASSES_ROOT as Windows merges it.
bool ClassesKeyExists(Platform& platform, const std::u16string& key);

// The open command that the registry records for http addresses ("%1" and all), or "", read
// from the user's https choice and the https class first when https is set. When shell_progid
// is given and the choice names a ProgId that only the shell starts (a packaged browser, whose
// verb is activated by class or delegate), that ProgId is put there and "" returned: another
// browser would not be what the user chose.
std::u16string GetBrowserCommandFromRegistry(Platform& platform, bool fallback,
                                             std::u16string* shell_progid = nullptr,
                                             bool https = false);

// The default value of HKEY_CLASSES_ROOT\http\shell\open\command when it is text, else "".
std::u16string GetHttpOpenCommand(Platform& platform);

// A browser command template from an open command as the registry records it: its last "%1"
// becomes "%s"; without one (or with one only at the very start) " %s" is appended.
std::u16string TemplateFromOpenCommand(std::u16string command);

// The user's local (not roaming) application-data folder as Windows records it, read without
// the shell: the expanded "Local AppData" of the user's shell folders, else %LOCALAPPDATA%;
// "" when neither names a full path.
std::u16string LocalAppDataFolder(Platform& platform);

// Where the user's own browser command template is kept: browser.dat in a Linkvane folder of
// LocalAppDataFolder; "" when there is none.
std::u16string UserTemplatePath(Platform& platform);

}  // namespace linkvane::systemfn
