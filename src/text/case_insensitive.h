#pragma once

// The one way Linkvane compares and searches text. Letter case is folded for the ASCII letters
// only: every marker the program looks for is ASCII, and folding beyond ASCII would let look-alike
// characters (the Kelvin sign, the long s) stand in for a marker's letters.

#include <cstddef>
#include <string>
#include <string_view>

namespace linkvane {

inline constexpr std::size_t kNotFound = std::u16string_view::npos;

// The lower-case form of an ASCII capital letter; every other code unit unchanged.
constexpr char16_t FoldCase(char16_t c) { return (c >= u'A' && c <= u'Z') ? char16_t(c + 32) : c; }

// The first position at or after start that holds a or b; kNotFound if none.
std::size_t FindEitherUnit(std::u16string_view text, char16_t a, char16_t b, std::size_t start = 0);

// The first position at or after start where needle occurs, ignoring case; kNotFound if none.
std::size_t FindNoCase(std::u16string_view haystack, std::u16string_view needle,
                       std::size_t start = 0);

// The same two searches in bytes of an encoding where ASCII stands for itself (UTF-8, a
// single-byte code page): a byte at or above 0x80 never matches an ASCII unit.
std::size_t FindEitherUnit(std::string_view text, char a, char b, std::size_t start = 0);
std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t start = 0);

// The last position where needle occurs, ignoring case; kNotFound if none.
std::size_t FindLastNoCase(std::u16string_view haystack, std::u16string_view needle);

// True when both texts are equal, ignoring case.
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

// True when text starts with prefix, ignoring case.
inline bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && EqualsNoCase(text.substr(0, prefix.size()), prefix);
}

// True when text ends with suffix, ignoring case.
bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix);

// The text with its ASCII letters in upper case.
std::u16string ToUpperAscii(std::u16string_view text);

// The text with its ASCII letters in lower case.
std::u16string ToLowerAscii(std::u16string_view text);

}  // namespace linkvane
