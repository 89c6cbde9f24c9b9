#include "text/case_insensitive.h"

#include <algorithm>

namespace linkvane {

namespace {

bool MatchesAt(std::u16string_view haystack, std::u16string_view needle, std::size_t at) {
  for (std::size_t i = 0; i < needle.size(); ++i) {
    if (FoldCase(haystack[at + i]) != FoldCase(needle[i])) return false;
  }
  return true;
}

}  // namespace

std::size_t FindNoCase(std::u16string_view haystack, std::u16string_view needle,
                       std::size_t start) {
  if (start > haystack.size() || needle.size() > haystack.size() - start) return kNotFound;
  if (needle.empty()) return start;
  const char16_t first = FoldCase(needle[0]);
  const std::size_t last_start = haystack.size() - needle.size();
  for (std::size_t at = start; at <= last_start; ++at) {
    if (FoldCase(haystack[at]) == first && MatchesAt(haystack, needle, at)) return at;
  }
  return kNotFound;
}

std::size_t FindLastNoCase(std::u16string_view haystack, std::u16string_view needle) {
  if (needle.size() > haystack.size()) return kNotFound;
  for (std::size_t at = haystack.size() - needle.size() + 1; at-- > 0;) {
    if (MatchesAt(haystack, needle, at)) return at;
  }
  return kNotFound;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && MatchesAt(a, b, 0);
}

bool EndsWithNoCase(std::u16string_view text, std::u16string_view suffix) {
  return text.size() >= suffix.size() && MatchesAt(text, suffix, text.size() - suffix.size());
}

std::u16string ToUpperAscii(std::u16string_view text) {
  std::u16string upper(text);
  std::transform(upper.begin(), upper.end(), upper.begin(), [](char16_t c) {
    return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c;
  });
  return upper;
}

}  // namespace linkvane
