// HKEY_CLASSES_ROOT as Windows reads it: a view that merges the current user's classes over the
// machine's. Wine keeps only the machine's there, so a browser registered for one user would be
// invisible through it; both sources are read here, the user's first.

#include "system/registry_key.h"
#include "system/systemfn.h"

namespace linkvane::systemfn {

RegistryValue ReadClassesValue(Platform& platform, const std::u16string& path) {
  for (std::u16string key : {u"HKEY_CURRENT_USER", u"HKEY_LOCAL_MACHINE"}) {
    RegistryValue value =
        ReadRegistryValue(platform, key.append(u"\\Software\\Classes\\").append(path), false);
    if (!value.IsEmpty()) return value;
  }
  return RegistryValue();
}

bool ClassesKeyExists(Platform& platform, const std::u16string& key) {
  for (const std::uint32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
    RegistryKey opened = 0;
    if (platform.OpenRegistryKey(root, std::u16string(u"Software\\Classes\\").append(key), 0,
                                 kKeyRead, opened) == kErrorSuccess) {
      UniqueRegistryKey closed_on_return(platform, opened);
      return true;
    }
  }
  return false;
}

}  // namespace linkvane::systemfn
