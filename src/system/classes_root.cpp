// HKEY_CLASSES_ROOT as Windows reads it: a view that merges the current user's classes over the
// machine's. Wine keeps only the machine's there, so a browser registered for one user would be
// invisible through it; both sources are read here, the user's first.

#include "system/registry_key.h"
#include "system/systemfn.h"

namespace linkvane::systemfn {

namespace {

constexpr std::u16string_view kClassesSources[] = {
    u"HKEY_CURRENT_USER\\Software\\Classes\\",
    u"HKEY_LOCAL_MACHINE\\Software\\Classes\\",
};

}  // namespace

RegistryValue ReadClassesValue(Platform& platform, const std::u16string& path) {
  for (std::u16string_view source : kClassesSources) {
    RegistryValue value = ReadRegistryValue(platform, std::u16string(source) + path, false);
    if (!value.IsEmpty()) return value;
  }
  return RegistryValue();
}

bool ClassesKeyExists(Platform& platform, const std::u16string& key) {
  for (const std::uint32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
    RegistryKey opened = 0;
    if (platform.OpenRegistryKey(root, u"Software\\Classes\\" + key, 0, kKeyRead, opened) ==
        kErrorSuccess) {
      UniqueRegistryKey closed_on_return(platform, opened);
      return true;
    }
  }
  return false;
}

}  // namespace linkvane::systemfn
