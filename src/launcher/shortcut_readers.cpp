#include <array>
#include <memory>
#include <optional>
#include <utility>

#include "launcher/Module_Main.h"
#include "launcher/binary_plist.h"
#include "launcher/utf7.h"
#include "platform/text_stream.h"
#include "text/case_insensitive.h"
#include "text/spaces.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::u16string_view kUrlKey = u"URL=";
// KDE writes its link files' URL key with the marker that asks for shell expansion; the value
// is still taken as written.
constexpr std::u16string_view kExpandingUrlKey = u"URL[$e]=";
// Windows keeps the true URL of a shortcut whose URL is not plain ANSI here, in UTF-7.
constexpr std::u16string_view kUnicodeSection = u"[InternetShortcut.W]";
constexpr std::u16string_view kKeyMarker = u"<key>URL</key>";
constexpr std::u16string_view kStringStart = u"<string>";
constexpr std::u16string_view kStringEnd = u"</string>";
constexpr std::u16string_view kBinaryMagicText = u"bplist00";
// Binary web locations hold one short dictionary; anything larger is not one.
constexpr std::size_t kLargestBinaryList = 1024 * 1024;

// The value after the first URL key in line (either form, whichever comes first); nullopt
// when the line holds neither.
std::optional<std::u16string> UrlKeyValue(const std::u16string& line) {
  const std::size_t plain = FindNoCase(line, kUrlKey);
  const std::size_t expanding = FindNoCase(line, kExpandingUrlKey);
  if (plain == kNotFound && expanding == kNotFound) return std::nullopt;
  if (expanding == kNotFound || (plain != kNotFound && plain < expanding)) {
    return line.substr(plain + kUrlKey.size());
  }
  return line.substr(expanding + kExpandingUrlKey.size());
}

// The value between the XML markers, entities decoded; nullopt when a marker is missing.
std::optional<std::u16string> XmlUrl(const std::u16string& text) {
  const std::size_t key = FindNoCase(text, kKeyMarker);
  if (key == kNotFound) return std::nullopt;
  const std::size_t start = FindNoCase(text, kStringStart, key + kKeyMarker.size());
  if (start == kNotFound) return std::nullopt;
  const std::size_t value = start + kStringStart.size();
  const std::size_t end = FindNoCase(text, kStringEnd, value);
  if (end == kNotFound) return std::nullopt;
  return DecodeXmlEntities(std::u16string_view(text).substr(value, end - value));
}

// The whole file's bytes, or nullopt when it is larger than limit.
std::optional<std::string> ReadBytes(Platform& platform, const std::u16string& path,
                                     std::size_t limit) {
  const std::unique_ptr<ByteReader> reader = platform.OpenFileForReading(path);
  std::string bytes;
  std::array<char, 4096> chunk;
  for (;;) {
    const std::size_t got = reader->Read(chunk.data(), chunk.size());
    if (got == 0) return bytes;
    if (got > limit - bytes.size()) return std::nullopt;
    bytes.append(chunk.data(), got);
  }
}

}  // namespace

std::u16string GetUrlFromShortcut(Platform& platform, const std::u16string& path) {
  TextStream stream = TextStream::Open(platform, path);
  std::optional<std::u16string> result;
  bool in_unicode_section = false;
  while (!stream.AtEndOfStream()) {
    const std::u16string line = stream.ReadLine();
    if (!result) result = UrlKeyValue(line);

    const std::u16string trimmed = TrimSpaces(line);
    if (!trimmed.empty() && trimmed.front() == u'[') {
      in_unicode_section = EqualsNoCase(trimmed, kUnicodeSection);
    } else if (in_unicode_section) {
      const std::size_t at = FindNoCase(line, kUrlKey);
      if (at != kNotFound) {
        // The ANSI copy found earlier may have lost characters; this one has them all.
        result = DecodeUtf7(std::u16string_view(line).substr(at + kUrlKey.size()));
        break;
      }
    }
  }
  stream.Close();
  return result.value_or(std::u16string());
}

std::u16string GetUrlFromWebloc(Platform& platform, const std::u16string& path) {
  TextStream stream = TextStream::Open(platform, path);
  const std::u16string text = stream.ReadAll();
  stream.Close();

  if (std::optional<std::u16string> url = XmlUrl(text)) return std::move(*url);

  // Perhaps a binary list. Its magic is plain ASCII and so survives the text decoding; only
  // then is the file read again, as the bytes that the list's offsets count.
  if (text.compare(0, kBinaryMagicText.size(), kBinaryMagicText) != 0) return std::u16string();
  const std::optional<std::string> bytes = ReadBytes(platform, path, kLargestBinaryList);
  return bytes ? UrlFromBinaryPlist(*bytes) : std::u16string();
}

}  // namespace linkvane::Module_Main
