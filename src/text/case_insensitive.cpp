#include "text/case_insensitive.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace linkvane {

namespace {

bool IsAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// A unit as FoldCase takes it; a byte counts as its unsigned value.
char16_t Unit(char16_t c) { return c; }
char16_t Unit(char c) { return static_cast<unsigned char>(c); }

template <typename Char>
bool MatchesAt(std::basic_string_view<Char> haystack, std::basic_string_view<Char> needle,
               std::size_t at) {
  for (std::size_t i = 0; i < needle.size(); ++i) {
    if (FoldCase(Unit(haystack[at + i])) != FoldCase(Unit(needle[i]))) return false;
  }
  return true;
}

#if defined(__SSE2__)

// Units looked at in one step: two blocks of eight.
constexpr std::size_t kStride = 16;

// Eight units: a bit pair in the mask (kMaskBits in all) for each unit that equals a or b.
constexpr unsigned kMaskBits = 16;
unsigned EitherMask(const char16_t* units, __m128i a, __m128i b) {
  const __m128i word = _mm_loadu_si128(reinterpret_cast<const __m128i*>(units));
  return static_cast<unsigned>(
      _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(word, a), _mm_cmpeq_epi16(word, b))));
}

#else

// Four units at a time, as the 16-bit lanes of a 64-bit word.
constexpr std::uint64_t kLaneOnes = 0x0001000100010001u;
constexpr std::uint64_t kLaneLows = 0x7FFF7FFF7FFF7FFFu;
constexpr std::uint64_t kLaneHighs = 0x8000800080008000u;

std::uint64_t LoadLanes(const char16_t* units) {
  std::uint64_t word;
  std::memcpy(&word, units, sizeof word);
  return word;
}

// The high bit of each lane of word that is zero, and of no other lane.
constexpr std::uint64_t ZeroLanes(std::uint64_t word) {
  return ~(((word & kLaneLows) + kLaneLows) | word) & kLaneHighs;
}

#endif

}  // namespace

std::size_t FindEitherUnit(std::u16string_view text, char16_t a, char16_t b, std::size_t start) {
  const char16_t* data = text.data();
  const std::size_t size = text.size();
  std::size_t i = start;
#if defined(__SSE2__)
  const __m128i pattern_a = _mm_set1_epi16(static_cast<short>(a));
  const __m128i pattern_b = _mm_set1_epi16(static_cast<short>(b));
  for (; i + kStride <= size; i += kStride) {
    const unsigned mask = EitherMask(data + i, pattern_a, pattern_b) |
                          EitherMask(data + i + kStride / 2, pattern_a, pattern_b) << kMaskBits;
    if (mask != 0) return i + static_cast<std::size_t>(__builtin_ctz(mask)) / 2;
  }
#else
  const std::uint64_t pattern_a = kLaneOnes * a;
  const std::uint64_t pattern_b = kLaneOnes * b;
  for (; i + 8 <= size; i += 8) {
    const std::uint64_t low = LoadLanes(data + i), high = LoadLanes(data + i + 4);
    if ((ZeroLanes(low ^ pattern_a) | ZeroLanes(low ^ pattern_b) | ZeroLanes(high ^ pattern_a) |
         ZeroLanes(high ^ pattern_b)) != 0) {
      break;
    }
  }
#endif
  for (; i < size; ++i) {
    if (data[i] == a || data[i] == b) return i;
  }
  return kNotFound;
}

std::size_t FindNoCase(std::u16string_view haystack, std::u16string_view needle,
                       std::size_t start) {
  if (start > haystack.size() || needle.size() > haystack.size() - start) return kNotFound;
  // UTF-16 text is searched only in short texts such as command lines; files are searched in
  // their bytes (below).
  for (std::size_t at = start; at + needle.size() <= haystack.size(); ++at) {
    if (MatchesAt(haystack, needle, at)) return at;
  }
  return kNotFound;
}

std::size_t FindEitherUnit(std::string_view text, char a, char b, std::size_t start) {
  const char* data = text.data();
  const std::size_t size = text.size();
  std::size_t i = start;
#if defined(__SSE2__)
  const __m128i pattern_a = _mm_set1_epi8(a), pattern_b = _mm_set1_epi8(b);
  auto mask = [&](std::size_t p) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
    return static_cast<unsigned>(_mm_movemask_epi8(
        _mm_or_si128(_mm_cmpeq_epi8(block, pattern_a), _mm_cmpeq_epi8(block, pattern_b))));
  };
  for (; i + 2 * kStride <= size; i += 2 * kStride) {
    const unsigned found = mask(i) | mask(i + kStride) << kStride;
    if (found != 0) return i + static_cast<std::size_t>(__builtin_ctz(found));
  }
#endif
  for (; i < size; ++i) {
    if (data[i] == a || data[i] == b) return i;
  }
  return kNotFound;
}

std::size_t FindNoCase(std::string_view haystack, std::string_view needle, std::size_t start) {
  if (start > haystack.size() || needle.size() > haystack.size() - start) return kNotFound;
  if (needle.empty()) return start;
  // Candidates are the places where both the needle's first and its last byte match, which in
  // text is rare even when its first letter is common; only they are compared in full. For a
  // letter, setting bit 5 folds exactly its two cases together and no other byte onto them.
  const std::size_t gap = needle.size() - 1;
  const auto fold_bit = [](char c) { return IsAsciiLetter(Unit(c)) ? char(0x20) : char(0); };
  const char first = char(FoldCase(Unit(needle[0]))), first_bit = fold_bit(needle[0]);
  const char last = char(FoldCase(Unit(needle[gap]))), last_bit = fold_bit(needle[gap]);
  const char* data = haystack.data();
  const std::size_t end = haystack.size() - gap;  // one past the last place a match may start
  std::size_t at = start;
#if defined(__SSE2__)
  const __m128i first_pattern = _mm_set1_epi8(first), first_bits = _mm_set1_epi8(first_bit);
  const __m128i last_pattern = _mm_set1_epi8(last), last_bits = _mm_set1_epi8(last_bit);
  auto load = [&](std::size_t p) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + p));
  };
  // A bit for each of the sixteen places from p where both bytes match.
  auto candidates = [&](std::size_t p) {
    return static_cast<unsigned>(_mm_movemask_epi8(
        _mm_and_si128(_mm_cmpeq_epi8(_mm_or_si128(load(p), first_bits), first_pattern),
                      _mm_cmpeq_epi8(_mm_or_si128(load(p + gap), last_bits), last_pattern))));
  };
  for (; at + 2 * kStride <= end; at += 2 * kStride) {
    for (unsigned mask = candidates(at) | candidates(at + kStride) << kStride; mask != 0;
         mask &= mask - 1) {
      const std::size_t place = at + static_cast<std::size_t>(__builtin_ctz(mask));
      if (MatchesAt(haystack, needle, place)) return place;
    }
  }
#endif
  for (; at < end; ++at) {
    if (MatchesAt(haystack, needle, at)) return at;
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
  std::transform(upper.begin(), upper.end(), upper.begin(),
                 [](char16_t c) { return (c >= u'a' && c <= u'z') ? char16_t(c - 32) : c; });
  return upper;
}

std::u16string ToLowerAscii(std::u16string_view text) {
  std::u16string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), FoldCase);
  return lower;
}

}  // namespace linkvane
