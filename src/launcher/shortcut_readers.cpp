#include "launcher/Module_Main.h"
#include "platform/text_stream.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::u16string_view kUrlKey = u"URL=";
constexpr std::u16string_view kKeyMarker = u"<key>URL</key>";
constexpr std::u16string_view kStringStart = u"<string>";
constexpr std::u16string_view kStringEnd = u"</string>";

}  // namespace

std::u16string GetUrlFromShortcut(Platform& platform, const std::u16string& path) {
  TextStream stream = TextStream::Open(platform, path);
  std::u16string result;
  while (!stream.AtEndOfStream()) {
    const std::u16string line = stream.ReadLine();
    const std::size_t at = FindNoCase(line, kUrlKey);
    if (at != kNotFound) {
      result = line.substr(at + kUrlKey.size());
      break;
    }
  }
  stream.Close();
  return result;
}

std::u16string GetUrlFromWebloc(Platform& platform, const std::u16string& path) {
  TextStream stream = TextStream::Open(platform, path);
  const std::u16string text = stream.ReadAll();
  stream.Close();

  const std::size_t key = FindNoCase(text, kKeyMarker);
  if (key == kNotFound) return std::u16string();
  const std::size_t start = FindNoCase(text, kStringStart, key + kKeyMarker.size());
  if (start == kNotFound) return std::u16string();
  const std::size_t value = start + kStringStart.size();
  const std::size_t end = FindNoCase(text, kStringEnd, value);
  if (end == kNotFound) return std::u16string();
  return DecodeXmlEntities(std::u16string_view(text).substr(value, end - value));
}

}  // namespace linkvane::Module_Main
