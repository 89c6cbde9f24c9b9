#include "platform/text_decoding.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace linkvane {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';
// The most ANSI bytes held back while waiting for a byte that surely ends a character.
constexpr std::size_t kLongestAnsiCarry = std::size_t{64} * 1024;
// The high bit of each of the eight bytes of a word: set in no ASCII byte.
constexpr std::uint64_t kHighBits = 0x8080808080808080u;

// The number of continuation bytes a UTF-8 lead byte announces and the range its first
// continuation byte must lie in (which excludes overlong forms, surrogates and code points
// above U+10FFFF); -1 for a byte that cannot start a character.
struct Utf8Lead {
  int continuation;
  unsigned char lower, upper;
  std::uint32_t bits;
};

Utf8Lead ClassifyLead(unsigned char b) {
  if (b < 0x80) return {0, 0x80, 0xBF, b};
  if (b >= 0xC2 && b <= 0xDF) return {1, 0x80, 0xBF, b & 0x1Fu};
  if (b == 0xE0) return {2, 0xA0, 0xBF, 0};
  if (b == 0xED) return {2, 0x80, 0x9F, 0x0D};
  if (b >= 0xE1 && b <= 0xEF) return {2, 0x80, 0xBF, b & 0x0Fu};
  if (b == 0xF0) return {3, 0x90, 0xBF, 0};
  if (b >= 0xF1 && b <= 0xF3) return {3, 0x80, 0xBF, b & 0x07u};
  if (b == 0xF4) return {3, 0x80, 0x8F, 4};
  return {-1, 0, 0, 0};
}

char16_t* PutCodePoint(std::uint32_t cp, char16_t* out) {
  if (cp < 0x10000) {
    *out++ = char16_t(cp);
  } else {
    cp -= 0x10000;
    *out++ = char16_t(0xD800 + (cp >> 10));
    *out++ = char16_t(0xDC00 + (cp & 0x3FF));
  }
  return out;
}

// Shortcut files are nearly all ASCII: runs of it are passed over, or widened, a block at a
// time.
#if defined(__SSE2__)
constexpr std::size_t kBlock = 16;

__m128i LoadBlock(const char* bytes) {
  return _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes));
}
#endif

// The position of the first byte at or after from that is not ASCII; bytes.size() if none.
std::size_t SkipAscii(std::string_view bytes, std::size_t from) {
  const char* data = bytes.data();
  const std::size_t size = bytes.size();
  std::size_t i = from;
#if defined(__SSE2__)
  for (; i + 4 * kBlock <= size; i += 4 * kBlock) {
    const __m128i any = _mm_or_si128(
        _mm_or_si128(LoadBlock(data + i), LoadBlock(data + i + kBlock)),
        _mm_or_si128(LoadBlock(data + i + 2 * kBlock), LoadBlock(data + i + 3 * kBlock)));
    if (_mm_movemask_epi8(any) != 0) break;
  }
#endif
  for (; i + 8 <= size; i += 8) {
    std::uint64_t word;
    std::memcpy(&word, data + i, sizeof word);
    if ((word & kHighBits) != 0) break;
  }
  while (i < size && static_cast<unsigned char>(data[i]) < 0x80) ++i;
  return i;
}

// Writes bytes (all below 0x80, or to be read as Latin-1) as UTF-16 code units.
char16_t* Widen(std::string_view bytes, char16_t* out) {
  for (const char c : bytes) *out++ = static_cast<unsigned char>(c);
  return out;
}

// Widens the run of ASCII bytes that starts at *from into out and moves *from past it.
char16_t* WidenAscii(std::string_view bytes, std::size_t* from, char16_t* out) {
  std::size_t i = *from;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + kBlock <= bytes.size(); i += kBlock, out += kBlock) {
    const __m128i block = LoadBlock(bytes.data() + i);
    if (_mm_movemask_epi8(block) != 0) break;
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi8(block, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + kBlock / 2), _mm_unpackhi_epi8(block, zero));
  }
#endif
  const std::size_t end = SkipAscii(bytes, i);
  out = Widen(bytes.substr(i, end - i), out);
  *from = end;
  return out;
}

// Makes room for up to extra more units at the end of out and returns where they go; Commit
// then cuts out to the units actually written.
char16_t* Reserve(std::u16string& out, std::size_t extra) {
  const std::size_t size = out.size();
  out.resize(size + extra);
  return out.data() + size;
}
void Commit(std::u16string& out, const char16_t* end) {
  out.resize(static_cast<std::size_t>(end - out.data()));
}

}  // namespace

std::optional<ByteOrderMark> DetectByteOrderMark(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return ByteOrderMark{TextEncoding::kUtf8, 3};
  if (bytes.substr(0, 2) == "\xFF\xFE") return ByteOrderMark{TextEncoding::kUtf16Le, 2};
  if (bytes.substr(0, 2) == "\xFE\xFF") return ByteOrderMark{TextEncoding::kUtf16Be, 2};
  return std::nullopt;
}

void Utf8Validator::Feed(std::string_view bytes) {
  std::size_t i = 0;
  while (i < bytes.size() && valid_) {
    if (remaining_ == 0) {
      i = SkipAscii(bytes, i);
      if (i == bytes.size()) break;
    }
    const auto b = static_cast<unsigned char>(bytes[i++]);
    if (remaining_ == 0) {
      const Utf8Lead lead = ClassifyLead(b);
      if (lead.continuation < 0) {
        valid_ = false;
      } else {
        remaining_ = lead.continuation;
        lower_ = lead.lower;
        upper_ = lead.upper;
      }
    } else if (b < lower_ || b > upper_) {
      valid_ = false;
    } else {
      --remaining_;
      lower_ = 0x80;
      upper_ = 0xBF;
    }
  }
}

void StreamDecoder::Feed(std::string_view bytes, std::u16string& out) {
  switch (encoding_) {
    case TextEncoding::kUtf8:
      FeedUtf8(bytes, out);
      break;
    case TextEncoding::kUtf16Le:
    case TextEncoding::kUtf16Be:
      FeedUtf16(bytes, out);
      break;
    case TextEncoding::kAnsi:
      FeedAnsi(bytes, out);
      break;
  }
}

void StreamDecoder::Finish(std::u16string& out) {
  if (encoding_ == TextEncoding::kAnsi) {
    if (!carry_.empty()) out += platform_->AnsiToUtf16(carry_);
  } else if (remaining_ > 0 || !carry_.empty()) {
    out.push_back(kReplacement);
  }
  carry_.clear();
  remaining_ = 0;
}

void StreamDecoder::FeedUtf8(std::string_view bytes, std::u16string& out) {
  // Each byte gives at most one unit, except the last of a four-byte character, which gives
  // two: one more than the piece's size at most, when the first three came in earlier pieces.
  // (A broken sequence gives one replacement for the bytes before the byte that broke it.)
  char16_t* dst = Reserve(out, bytes.size() + 1);
  std::size_t i = 0;
  while (i < bytes.size()) {
    if (remaining_ == 0) {
      dst = WidenAscii(bytes, &i, dst);
      if (i == bytes.size()) break;
      const Utf8Lead lead = ClassifyLead(static_cast<unsigned char>(bytes[i++]));
      if (lead.continuation < 0) {
        *dst++ = kReplacement;
        continue;
      }
      remaining_ = lead.continuation;
      lower_ = lead.lower;
      upper_ = lead.upper;
      code_point_ = lead.bits;
      continue;
    }
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < lower_ || b > upper_) {
      // A broken sequence stands for one replacement; the byte is read again as a new start.
      *dst++ = kReplacement;
      remaining_ = 0;
    } else {
      ++i;
      code_point_ = (code_point_ << 6) | (b & 0x3Fu);
      lower_ = 0x80;
      upper_ = 0xBF;
      if (--remaining_ == 0) dst = PutCodePoint(code_point_, dst);
    }
  }
  Commit(out, dst);
}

void StreamDecoder::FeedUtf16(std::string_view bytes, std::u16string& out) {
  std::size_t i = 0;
  const bool little_endian = encoding_ == TextEncoding::kUtf16Le;
  auto unit = [little_endian](char first, char second) {
    const auto a = static_cast<unsigned char>(first), b = static_cast<unsigned char>(second);
    return little_endian ? char16_t(a | (b << 8)) : char16_t((a << 8) | b);
  };
  char16_t* dst = Reserve(out, bytes.size() / 2 + 1);
  if (!carry_.empty() && !bytes.empty()) {
    *dst++ = unit(carry_[0], bytes[0]);
    carry_.clear();
    i = 1;
  }
  for (; i + 1 < bytes.size(); i += 2) *dst++ = unit(bytes[i], bytes[i + 1]);
  if (i < bytes.size()) carry_.assign(1, bytes[i]);
  Commit(out, dst);
}

void StreamDecoder::FeedAnsi(std::string_view bytes, std::u16string& out) {
  std::string joined;
  std::string_view piece = bytes;
  if (!carry_.empty()) {
    joined = std::move(carry_);
    joined.append(bytes);
    piece = joined;
  }
  carry_.clear();
  // ASCII reads the same in every ANSI code page.
  const std::size_t size_before = out.size();
  std::size_t ascii_end = 0;
  char16_t* const end = WidenAscii(piece, &ascii_end, Reserve(out, piece.size()));
  if (ascii_end == piece.size()) {
    Commit(out, end);
    return;
  }
  out.resize(size_before);
  // A byte below 0x40 is a character of its own in every ANSI code page, never the second byte
  // of a double-byte character, so the text can be cut after the last such byte.
  std::size_t cut = piece.size();
  while (cut > 0 && static_cast<unsigned char>(piece[cut - 1]) >= 0x40) --cut;
  if (cut == 0) {
    // Nothing in the piece is known to end a character: its last byte may be the first of a
    // double-byte one, so wait for more text, up to a bound that keeps memory in check.
    if (piece.size() < kLongestAnsiCarry) {
      carry_.assign(piece);
      return;
    }
    cut = piece.size();
  }
  out += platform_->AnsiToUtf16(piece.substr(0, cut));
  carry_.assign(piece.substr(cut));
}

std::u16string DecodeText(Platform& platform, std::string_view bytes) {
  TextEncoding encoding = TextEncoding::kAnsi;
  if (const auto bom = DetectByteOrderMark(bytes)) {
    encoding = bom->encoding;
    bytes.remove_prefix(bom->length);
  } else {
    Utf8Validator validator;
    validator.Feed(bytes);
    if (validator.Valid()) encoding = TextEncoding::kUtf8;
  }
  std::u16string text;
  StreamDecoder decoder(platform, encoding);
  decoder.Feed(bytes, text);
  decoder.Finish(text);
  return text;
}

}  // namespace linkvane
