// Which addresses open without a question: web pages, mail, and files on this computer's own
// drives. A file on another computer (a network drive's letter too) makes Windows connect to it
// and offer the user's sign-in; a device path or a scheme that the browser hands to another
// program (ftp: too, now that browsers no longer open it) is no web page either.

#include "launcher/Module_Main.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// The text with %XX sequences decoded (each to the code unit of its byte value) and
// backslashes made slashes.
std::u16string DecodedPath(std::u16string_view text) {
  std::u16string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      c = static_cast<char16_t>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    }
    out.push_back(c == u'\\' ? u'/' : c);
  }
  return out;
}

// A name Windows reserves for a device, whatever extension follows it: CON, CON.txt, COM1 ...
bool IsDeviceName(std::u16string_view segment) {
  std::u16string_view base = segment.substr(0, segment.find(u'.'));
  while (!base.empty() && base.back() == u' ') base.remove_suffix(1);
  for (std::u16string_view device : {u"CON", u"PRN", u"AUX", u"NUL"}) {
    if (EqualsNoCase(base, device)) return true;
  }
  if (base.size() != 4) return false;
  const std::u16string_view stem = base.substr(0, 3);
  const char16_t digit = base[3];
  const bool port_digit = (digit >= u'1' && digit <= u'9') || digit == u'\u00B9' ||
                          digit == u'\u00B2' || digit == u'\u00B3';
  return port_digit && (EqualsNoCase(stem, u"COM") || EqualsNoCase(stem, u"LPT"));
}

// A file: URL naming a file on a local drive: a drive letter after at most three slashes (or
// "//localhost/") that is no network drive, no device names, and no colon but the drive's.
bool IsLocalFileUrl(Platform& platform, std::u16string_view url) {
  std::u16string path = DecodedPath(url.substr(5));
  if (StartsWithNoCase(path, u"//localhost/")) path.erase(0, 11);
  const std::size_t slashes = path.find_first_not_of(u'/');
  if (slashes > 3) return false;  // also when there is nothing but slashes (npos)
  path.erase(0, slashes);
  const bool letter = (path[0] >= u'A' && path[0] <= u'Z') || (path[0] >= u'a' && path[0] <= u'z');
  if (path.size() < 2 || !letter || (path[1] != u':' && path[1] != u'|')) return false;
  if (path.size() > 2 && path[2] != u'/') return false;
  if (path.find(u':', 2) != std::u16string::npos) return false;
  for (std::size_t from = 2; from < path.size();) {
    std::size_t end = path.find(u'/', from + 1);
    if (end == std::u16string::npos) end = path.size();
    if (IsDeviceName(std::u16string_view(path).substr(from + 1, end - from - 1))) return false;
    from = end;
  }
  const std::uint32_t type = platform.DriveType({path[0], u':', u'\\'});
  return type != kDriveUnknown && type != kDriveNoRootDir && type != kDriveRemote;
}

}  // namespace

bool IsWebAddress(std::u16string_view url) {
  return StartsWithNoCase(url, u"http://") || StartsWithNoCase(url, u"https://");
}

bool IsHttpsAddress(std::u16string_view url) { return StartsWithNoCase(url, u"https:"); }

bool IsWebOrLocalFileAddress(Platform& platform, std::u16string_view url) {
  for (std::u16string_view scheme : {u"http://", u"https://", u"mailto:"}) {
    if (StartsWithNoCase(url, scheme)) return true;
  }
  return StartsWithNoCase(url, u"file:") && IsLocalFileUrl(platform, url);
}

}  // namespace linkvane::Module_Main
