#include <cstdint>

#include "launcher/Module_Main.h"

namespace linkvane::Module_Main {

namespace {

struct NamedEntity {
  std::u16string_view name;
  char16_t character;
};

constexpr NamedEntity kPredefined[] = {
    {u"amp", u'&'}, {u"lt", u'<'}, {u"gt", u'>'}, {u"quot", u'"'}, {u"apos", u'\''},
};

// The code point of a character reference's digits ("#65", "#x41"), or 0 when they do not form
// a valid reference to a character XML allows.
std::uint32_t ParseCharacterReference(std::u16string_view body) {
  if (body.size() < 2 || body[0] != u'#') return 0;
  const bool hex = body[1] == u'x';
  const std::u16string_view digits = body.substr(hex ? 2 : 1);
  if (digits.empty()) return 0;
  std::uint32_t value = 0;
  for (char16_t c : digits) {
    std::uint32_t digit;
    if (c >= u'0' && c <= u'9') {
      digit = c - u'0';
    } else if (hex && c >= u'a' && c <= u'f') {
      digit = c - u'a' + 10;
    } else if (hex && c >= u'A' && c <= u'F') {
      digit = c - u'A' + 10;
    } else {
      return 0;
    }
    value = value * (hex ? 16 : 10) + digit;
    if (value > 0x10FFFF) return 0;
  }
  const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
  return surrogate ? 0 : value;
}

void AppendCodePoint(std::uint32_t cp, std::u16string& out) {
  if (cp < 0x10000) {
    out.push_back(char16_t(cp));
  } else {
    cp -= 0x10000;
    out.push_back(char16_t(0xD800 + (cp >> 10)));
    out.push_back(char16_t(0xDC00 + (cp & 0x3FF)));
  }
}

}  // namespace

std::u16string DecodeXmlEntities(std::u16string_view text) {
  constexpr std::size_t kLongestReference = 12;  // "&#x0010FFFF;" and a little to spare
  std::u16string decoded;
  decoded.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == u'&') {
      const std::size_t semicolon = text.find(u';', i + 1);
      if (semicolon != std::u16string_view::npos && semicolon - i <= kLongestReference) {
        const std::u16string_view body = text.substr(i + 1, semicolon - i - 1);
        bool replaced = false;
        for (const NamedEntity& entity : kPredefined) {
          if (body == entity.name) {
            decoded.push_back(entity.character);
            replaced = true;
            break;
          }
        }
        if (!replaced) {
          if (const std::uint32_t cp = ParseCharacterReference(body)) {
            AppendCodePoint(cp, decoded);
            replaced = true;
          }
        }
        if (replaced) {
          i = semicolon + 1;
          continue;
        }
      }
    }
    decoded.push_back(text[i]);
    ++i;
  }
  return decoded;
}

}  // namespace linkvane::Module_Main
