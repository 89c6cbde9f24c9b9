#include "platform/text_decoding.h"

namespace linkvane {

namespace {

constexpr char16_t kReplacement = u'\uFFFD';

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

std::optional<ByteOrderMark> DetectByteOrderMark(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return ByteOrderMark{TextEncoding::kUtf8, 3};
  if (bytes.substr(0, 2) == "\xFF\xFE") return ByteOrderMark{TextEncoding::kUtf16Le, 2};
  if (bytes.substr(0, 2) == "\xFE\xFF") return ByteOrderMark{TextEncoding::kUtf16Be, 2};
  return std::nullopt;
}

void Utf8Validator::Feed(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size() && valid_; ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (remaining_ == 0) {
      if (b < 0x80) continue;
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
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (remaining_ == 0) {
      ++i;
      if (b < 0x80) {
        out.push_back(b);
        continue;
      }
      const Utf8Lead lead = ClassifyLead(b);
      if (lead.continuation < 0) {
        out.push_back(kReplacement);
        continue;
      }
      remaining_ = lead.continuation;
      lower_ = lead.lower;
      upper_ = lead.upper;
      code_point_ = lead.bits;
    } else if (b < lower_ || b > upper_) {
      // A broken sequence stands for one replacement; the byte is read again as a new start.
      out.push_back(kReplacement);
      remaining_ = 0;
    } else {
      ++i;
      code_point_ = (code_point_ << 6) | (b & 0x3Fu);
      lower_ = 0x80;
      upper_ = 0xBF;
      if (--remaining_ == 0) AppendCodePoint(code_point_, out);
    }
  }
}

void StreamDecoder::FeedUtf16(std::string_view bytes, std::u16string& out) {
  std::size_t i = 0;
  auto unit = [this](unsigned char first, unsigned char second) {
    return encoding_ == TextEncoding::kUtf16Le ? char16_t(first | (second << 8))
                                               : char16_t((first << 8) | second);
  };
  if (!carry_.empty() && !bytes.empty()) {
    out.push_back(unit(static_cast<unsigned char>(carry_[0]), static_cast<unsigned char>(bytes[0])));
    carry_.clear();
    i = 1;
  }
  out.reserve(out.size() + (bytes.size() - i) / 2);
  for (; i + 1 < bytes.size(); i += 2) {
    out.push_back(
        unit(static_cast<unsigned char>(bytes[i]), static_cast<unsigned char>(bytes[i + 1])));
  }
  if (i < bytes.size()) carry_.assign(1, bytes[i]);
}

void StreamDecoder::FeedAnsi(std::string_view bytes, std::u16string& out) {
  std::string piece = carry_;
  piece.append(bytes);
  carry_.clear();
  // A byte below 0x40 is a character of its own in every ANSI code page, never the second byte
  // of a double-byte character, so the text can be cut after the last such byte.
  std::size_t cut = piece.size();
  bool ascii = true;
  for (unsigned char c : piece) ascii = ascii && c < 0x80;
  if (ascii) {
    out.append(piece.begin(), piece.end());
    return;
  }
  while (cut > 0 && static_cast<unsigned char>(piece[cut - 1]) >= 0x40) --cut;
  if (cut == 0) cut = piece.size();
  out += platform_->AnsiToUtf16(std::string_view(piece).substr(0, cut));
  carry_ = piece.substr(cut);
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
