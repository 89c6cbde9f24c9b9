// The per-user places Linkvane reads on every launch. The shell's known-folder functions
// would load shell32 and cost more than the rest of a run under some systems; the registry
// holds what they return.

#include "system/systemfn.h"

namespace linkvane::systemfn {

namespace {

constexpr char16_t kLocalAppData[] =
    u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\"
    u"User Shell Folders\\Local AppData";

// A drive path ("C:\...") or a UNC path ("\\server\..."): a folder of the user's cannot be
// anything else, and a value left unexpanded is neither.
bool IsFullPath(const std::u16string& path) {
  if (path.find(u'%') != std::u16string::npos) return false;
  if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') return true;
  return path.size() >= 3 && path[0] == u'\\' && path[1] == u'\\';
}

}  // namespace

std::u16string LocalAppDataFolder(Platform& platform) {
  const RegistryValue recorded = ReadRegistryValue(platform, kLocalAppData, true);
  std::u16string folder = recorded.IsText() ? recorded.AsText() : std::u16string();
  if (!IsFullPath(folder)) folder = platform.EnvironmentVariable(u"LOCALAPPDATA").value_or(u"");
  while (folder.size() > 3 && folder.back() == u'\\') folder.pop_back();
  return IsFullPath(folder) ? folder : std::u16string();
}

std::u16string UserTemplatePath(Platform& platform) {
  std::u16string folder = LocalAppDataFolder(platform);
  if (folder.empty()) return folder;
  return folder + (folder.back() == u'\\' ? u"" : u"\\") + u"Linkvane\\browser.dat";
}

}  // namespace linkvane::systemfn
