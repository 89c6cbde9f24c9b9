#include <string>
#include <vector>

#include "launcher/registration.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

// The path without its "\\?\" prefix; "" for one that names no drive's file plainly: a share,
// a device, or a path with empty, "." or ".." parts or forward slashes, which could lead out.
std::u16string_view Plain(std::u16string_view path) {
  if (path.substr(0, 4) == u"\\\\?\\") path.remove_prefix(4);
  if (path.size() < 4 || path[1] != u':' || path[2] != u'\\') return {};
  if (path.find(u'/') != kNotFound || path.back() == u'\\') return {};
  for (std::size_t at = 2; at != kNotFound; at = path.find(u'\\', at + 1)) {
    const std::u16string_view part = path.substr(at + 1, path.find(u'\\', at + 1) - at - 1);
    if (part.empty() || part == u"." || part == u"..") return {};
  }
  return path;
}

// A folder's path in the same form, without a final "\"; "" when it has none.
std::u16string PlainFolder(std::u16string folder) {
  while (!folder.empty() && folder.back() == u'\\') folder.pop_back();
  folder += u"\\x";
  const std::u16string_view plain = Plain(folder);
  return std::u16string(plain.substr(0, plain.empty() ? 0 : plain.size() - 2));
}

}  // namespace

bool InProtectedFolder(std::u16string_view path, const std::vector<std::u16string>& trees,
                       const std::vector<std::u16string>& folders) {
  path = Plain(path);
  if (path.empty()) return false;
  const std::u16string_view parent = path.substr(0, path.rfind(u'\\'));
  for (const std::u16string& tree : trees) {
    const std::u16string root = PlainFolder(tree);
    if (!root.empty() && path.size() > root.size() && path[root.size()] == u'\\' &&
        EqualsNoCase(path.substr(0, root.size()), root)) {
      return true;
    }
  }
  for (const std::u16string& folder : folders) {
    if (EqualsNoCase(parent, PlainFolder(folder))) return true;
  }
  return false;
}

}  // namespace linkvane::Module_Main
