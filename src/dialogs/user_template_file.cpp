#include "dialogs/user_template_file.h"

#include "dialogs/file_replacement.h"
#include "language/language.h"
#include "language/text_ids.h"
#include "platform/text_decoding.h"
#include "text/decimal.h"

namespace linkvane::chooser {

namespace {

constexpr char kUtf8Bom[] = "\xEF\xBB\xBF";
constexpr std::int32_t kErrorNoUnicodeTranslation = 1113;  // ERROR_NO_UNICODE_TRANSLATION
constexpr std::size_t kReadSize = std::size_t{64} * 1024;

bool IsUtf16(TextEncoding encoding) {
  return encoding == TextEncoding::kUtf16Le || encoding == TextEncoding::kUtf16Be;
}

// The file's encoding as the readers decide it, and the length of its byte-order mark.
ByteOrderMark EncodingOf(std::string_view bytes) {
  if (const std::optional<ByteOrderMark> mark = DetectByteOrderMark(bytes)) return *mark;
  Utf8Validator validator;
  validator.Feed(bytes);
  return {validator.Valid() ? TextEncoding::kUtf8 : TextEncoding::kAnsi, 0};
}

char16_t UnitAt(std::string_view text, std::size_t at, TextEncoding encoding) {
  const auto first = static_cast<unsigned char>(text[at]);
  const auto second = static_cast<unsigned char>(text[at + 1]);
  return encoding == TextEncoding::kUtf16Le ? char16_t(first | (second << 8))
                                            : char16_t((first << 8) | second);
}

bool IsLineEnd(char16_t c) { return c == u'\r' || c == u'\n'; }

// Where the first line of text ends: the offset of its CR or LF, or the end of text. A CR or
// LF byte is never part of another character in the encodings read as bytes.
std::size_t FirstLineEnd(std::string_view text, TextEncoding encoding) {
  if (!IsUtf16(encoding)) return std::min(text.find_first_of("\r\n"), text.size());
  std::size_t at = 0;
  while (at + 1 < text.size() && !IsLineEnd(UnitAt(text, at, encoding))) at += 2;
  return at + 1 < text.size() ? at : text.size();
}

// True when text holds line ends and nothing else.
bool OnlyLineEnds(std::string_view text, TextEncoding encoding) {
  if (!IsUtf16(encoding)) return text.find_first_not_of("\r\n") == std::string_view::npos;
  if (text.size() % 2 != 0) return false;
  for (std::size_t at = 0; at < text.size(); at += 2) {
    if (!IsLineEnd(UnitAt(text, at, encoding))) return false;
  }
  return true;
}

void AppendUtf8(std::uint32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// line in encoding; nothing when the ANSI code page cannot hold it.
std::optional<std::string> Encode(Platform& platform, std::u16string_view line,
                                  TextEncoding encoding) {
  std::string out;
  switch (encoding) {
    case TextEncoding::kAnsi:
      return platform.Utf16ToAnsiExactly(line);
    case TextEncoding::kUtf8:
      for (std::size_t i = 0; i < line.size(); ++i) {
        std::uint32_t c = line[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < line.size() && line[i + 1] >= 0xDC00 &&
            line[i + 1] < 0xE000) {
          c = 0x10000 + ((c - 0xD800) << 10) + (line[++i] - 0xDC00);
        } else if (c >= 0xD800 && c < 0xE000) {
          c = 0xFFFD;  // half a pair is no character
        }
        AppendUtf8(c, out);
      }
      return out;
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be:
      for (const char16_t c : line) {
        const char low = static_cast<char>(c & 0xFF);
        const char high = static_cast<char>(c >> 8);
        out += encoding == TextEncoding::kUtf16Le ? low : high;
        out += encoding == TextEncoding::kUtf16Le ? high : low;
      }
      return out;
  }
  return std::nullopt;
}

// The file's bytes; nothing when there is no file. Raises when it exists but cannot be read:
// a file that was not read whole must not be rewritten.
std::optional<std::string> ReadWholeFile(Platform& platform, const std::u16string& path) {
  if (!platform.FileExists(path)) return std::nullopt;
  const std::unique_ptr<ByteReader> reader = platform.OpenFileForReading(path);
  std::string bytes;
  for (std::size_t got = 1; got != 0;) {
    const std::size_t size = bytes.size();
    bytes.resize(size + kReadSize);
    got = reader->Read(bytes.data() + size, kReadSize);
    bytes.resize(size + got);
  }
  return bytes;
}

// Why the choice was not saved, and where the file is when it is no longer at path.
std::u16string CannotSave(const std::u16string& path, const PlatformError& error,
                          const std::u16string& old_file_at = {}) {
  const std::u16string text =
      language::Say(IDS_CANNOT_SAVE, {language::LeftToRight(path)}) + u"\r\n\r\n" +
      language::Say(IDS_ERROR_CODE, {DecimalText(error.Number()), error.Description()}) + u" ";
  if (old_file_at.empty()) return text + language::Text(IDS_NOTHING_CHANGED);
  return text + language::Say(IDS_OLD_FILE_NOW_AT, {language::LeftToRight(old_file_at)});
}

}  // namespace

std::optional<std::string> WithFirstLine(Platform& platform, const std::optional<std::string>& now,
                                         std::u16string_view line) {
  if (!now || now->empty()) {
    if (line.empty()) return std::string();
    std::optional<std::string> text = Encode(platform, line, TextEncoding::kUtf8);
    return kUtf8Bom + *text + "\r\n";
  }
  const ByteOrderMark file = EncodingOf(*now);
  const std::string_view text = std::string_view(*now).substr(file.length);
  const std::string_view rest = text.substr(FirstLineEnd(text, file.encoding));
  if (line.empty() && OnlyLineEnds(rest, file.encoding)) return std::string();
  std::optional<std::string> first = Encode(platform, line, file.encoding);
  if (!first) return std::nullopt;
  return now->substr(0, file.length) + *first + std::string(rest);
}

std::u16string SaveFirstLine(Platform& platform, const std::u16string& path,
                             std::u16string_view line) {
  Replacement replaced;
  std::optional<PlatformError> failure = ContinueOnError([&] {
    const std::optional<std::string> now = ReadWholeFile(platform, path);
    const std::optional<std::string> next = WithFirstLine(platform, now, line);
    if (!next) {
      throw PlatformError(kErrorNoUnicodeTranslation, language::Text(IDS_ANSI_CANNOT_HOLD));
    }
    if (next->empty()) {
      if (now) platform.RemoveFile(path);
      return;
    }
    platform.CreateFolder(path.substr(0, path.rfind(u'\\')));
    replaced = ReplaceSafely(platform, path, *next);
  });
  if (replaced.failure) return CannotSave(path, *replaced.failure, replaced.old_file_at);
  return failure ? CannotSave(path, *failure) : std::u16string();
}

std::u16string SaveUtf8File(Platform& platform, const std::u16string& path,
                            std::u16string_view text) {
  Replacement replaced;
  const std::optional<PlatformError> failure = ContinueOnError([&] {
    platform.CreateFolder(path.substr(0, path.rfind(u'\\')));
    replaced = ReplaceSafely(platform, path, *Encode(platform, text, TextEncoding::kUtf8));
  });
  if (replaced.failure) return CannotSave(path, *replaced.failure, replaced.old_file_at);
  return failure ? CannotSave(path, *failure) : std::u16string();
}

}  // namespace linkvane::chooser
