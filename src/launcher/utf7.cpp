#include "launcher/utf7.h"

#include <cstdint>

namespace linkvane::Module_Main {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

// The six bits a base64 character stands for, or -1 for a character outside the alphabet.
int Base64Value(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return c - u'a' + 26;
  if (c >= u'0' && c <= u'9') return c - u'0' + 52;
  if (c == u'+') return 62;
  if (c == u'/') return 63;
  return -1;
}

}  // namespace

std::u16string DecodeUtf7(std::u16string_view text) {
  std::u16string decoded;
  decoded.reserve(text.size());
  std::size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i++];
    if (c != u'+') {
      decoded.push_back(c);
      continue;
    }
    if (i < text.size() && text[i] == u'-') {
      decoded.push_back(u'+');
      ++i;
      continue;
    }

    // A run of base64: the bits of UTF-16 code units, most significant first.
    std::uint32_t bits = 0;
    int bit_count = 0;
    std::size_t run_length = 0;
    while (i < text.size()) {
      const int value = Base64Value(text[i]);
      if (value < 0) break;
      bits = ((bits << 6) | std::uint32_t(value)) & 0x3FFFFF;  // never more than 21 bits held
      bit_count += 6;
      if (bit_count >= 16) {
        bit_count -= 16;
        decoded.push_back(char16_t((bits >> bit_count) & 0xFFFF));
      }
      ++i;
      ++run_length;
    }
    const bool closed_by_dash = i < text.size() && text[i] == u'-';
    if (closed_by_dash) ++i;

    if (run_length == 0 && !closed_by_dash) {
      // Nothing was encoded: a hand-typed "+" that its writer meant as itself.
      decoded.push_back(u'+');
    } else if (bit_count >= 6 || (bits & ((1u << bit_count) - 1)) != 0) {
      // The run stops inside a code unit: part of the text is lost, so say so rather than
      // hand on a different address that looks whole.
      decoded.push_back(kReplacement);
    }
  }
  return decoded;
}

}  // namespace linkvane::Module_Main
