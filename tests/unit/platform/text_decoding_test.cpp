#include "platform/text_decoding.h"

#include <gtest/gtest.h>

#include <string_view>

#include "fake/fake_platform.h"

namespace linkvane {
namespace {

using namespace std::string_view_literals;
using testing::FakePlatform;
using testing::U8;

std::string Hex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string text;
  for (unsigned char b : bytes) {
    text += kDigits[b >> 4];
    text += kDigits[b & 0xF];
    text += ' ';
  }
  return text;
}

TEST(DetectByteOrderMark, NamesTheEncodingAndTheMarkLength) {
  struct Case {
    std::string_view bytes;
    std::optional<TextEncoding> encoding;
    std::size_t length;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBFx", TextEncoding::kUtf8, 3},
      {"\xEF\xBB\xBF", TextEncoding::kUtf8, 3},
      {"\xFF\xFEx\0"sv, TextEncoding::kUtf16Le, 2},
      {"\xFE\xFF\0x"sv, TextEncoding::kUtf16Be, 2},
      {"\xEF\xBB", std::nullopt, 0},
      {"\xFF", std::nullopt, 0},
      {"\xBB\xBF", std::nullopt, 0},
      {"x\xEF\xBB\xBF", std::nullopt, 0},
      {"", std::nullopt, 0},
  };
  for (const Case& c : cases) {
    const std::optional<ByteOrderMark> mark = DetectByteOrderMark(c.bytes);
    ASSERT_EQ(mark.has_value(), c.encoding.has_value()) << Hex(c.bytes);
    if (mark) {
      EXPECT_EQ(mark->encoding, *c.encoding) << Hex(c.bytes);
      EXPECT_EQ(mark->length, c.length) << Hex(c.bytes);
    }
  }
}

// Malformed UTF-8, with what a decoder gives for each maximal ill-formed part: one U+FFFD each.
struct Malformed {
  std::string_view bytes;
  std::u16string_view decoded;
};
const Malformed kMalformed[] = {
    {"\xC0\x80", u"\uFFFD\uFFFD"},                      // overlong NUL
    {"\xC1\xBF", u"\uFFFD\uFFFD"},                      // overlong
    {"\xE0\x80\xAF", u"\uFFFD\uFFFD\uFFFD"},            // overlong "/"
    {"\xE0\x9F\xBF", u"\uFFFD\uFFFD\uFFFD"},            // overlong
    {"\xF0\x8F\xBF\xBF", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // overlong
    {"\xED\xA0\x80", u"\uFFFD\uFFFD\uFFFD"},            // high surrogate
    {"\xED\xBF\xBF", u"\uFFFD\uFFFD\uFFFD"},            // low surrogate
    {"\xF4\x90\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
    {"\xF5\x80\x80\x80", u"\uFFFD\uFFFD\uFFFD\uFFFD"},
    {"\xFF", u"\uFFFD"},
    {"\x80", u"\uFFFD"},
    {"a\xBF"
     "b",
     u"a\uFFFDb"},
    {"\xE2\x82", u"\uFFFD"},  // cut short at the end
    {"\xF0\x9F\x98", u"\uFFFD"},
    {"\xE2\x82"
     "A",
     u"\uFFFDA"},  // cut short by a new character
    {"\xE2\xC3\xA9", u"\uFFFD\u00E9"},
    {"\xC3", u"\uFFFD"},
};

struct WellFormed {
  std::string_view bytes;
  std::u16string_view decoded;
};
const WellFormed kWellFormed[] = {
    {"", u""},
    {"plain ASCII\r\n", u"plain ASCII\r\n"},
    {std::string_view("\0", 1), std::u16string_view(u"\0", 1)},
    {"\x7F\xC2\x80\xDF\xBF", u"\u007F\u0080\u07FF"},
    {"\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF", u"\u0800\uD7FF\uE000\uFFFF"},
    {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", u"\U00010000\U0010FFFF"},
    {"caf\xC3\xA9 \xE5\xAE\x98 \xF0\x9F\x98\x80", u"caf\u00E9 \u5B98 \U0001F600"},
};

TEST(Utf8Validator, AcceptsOnlyCompleteWellFormedUtf8) {
  for (const WellFormed& c : kWellFormed) {
    Utf8Validator validator;
    validator.Feed(c.bytes);
    EXPECT_TRUE(validator.Valid()) << Hex(c.bytes);
  }
  for (const Malformed& c : kMalformed) {
    Utf8Validator validator;
    validator.Feed(c.bytes);
    EXPECT_FALSE(validator.Valid()) << Hex(c.bytes);
    // What follows does not make the sequence whole again.
    validator.Feed(" ascii");
    EXPECT_FALSE(validator.Valid()) << Hex(c.bytes);
  }
}

TEST(Utf8Validator, FollowsACharacterAcrossPieces) {
  const std::string_view text =
      "a\xF0\x9F\x98\x80"
      "b\xE5\xAE\x98";
  for (std::size_t cut = 0; cut <= text.size(); ++cut) {
    Utf8Validator validator;
    validator.Feed(text.substr(0, cut));
    validator.Feed(text.substr(cut));
    EXPECT_TRUE(validator.Valid()) << cut;
  }
  Utf8Validator unfinished;
  unfinished.Feed("a\xF0\x9F");
  EXPECT_FALSE(unfinished.Valid());
}

std::u16string DecodeInTwo(Platform& platform, TextEncoding encoding, std::string_view bytes,
                           std::size_t cut) {
  StreamDecoder decoder(platform, encoding);
  std::u16string out;
  decoder.Feed(bytes.substr(0, cut), out);
  decoder.Feed(bytes.substr(cut), out);
  decoder.Finish(out);
  return out;
}

TEST(StreamDecoder, GivesOneReplacementPerIllFormedPartWhereverThePiecesEnd) {
  FakePlatform platform;
  for (const Malformed& c : kMalformed) {
    const std::string bytes = "<" + std::string(c.bytes) + ">";
    const std::u16string expected = u"<" + std::u16string(c.decoded) + u">";
    for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
      EXPECT_EQ(DecodeInTwo(platform, TextEncoding::kUtf8, bytes, cut), expected)
          << Hex(c.bytes) << " cut at " << cut;
    }
    // At the very end of the text, a sequence cut short is one replacement too.
    EXPECT_EQ(DecodeInTwo(platform, TextEncoding::kUtf8, c.bytes, 0), c.decoded) << Hex(c.bytes);
  }
  for (const WellFormed& c : kWellFormed) {
    for (std::size_t cut = 0; cut <= c.bytes.size(); ++cut) {
      EXPECT_EQ(DecodeInTwo(platform, TextEncoding::kUtf8, c.bytes, cut), c.decoded)
          << Hex(c.bytes) << " cut at " << cut;
    }
  }
}

TEST(StreamDecoder, DecodesUtf16InBothByteOrdersAcrossPieces) {
  FakePlatform platform;
  struct Case {
    TextEncoding encoding;
    std::string_view bytes;
    std::u16string_view decoded;
  };
  const Case cases[] = {
      {TextEncoding::kUtf16Le, "a\0\x0D\x01\x3D\xD8\x00\xDE\r\0\n\0"sv, u"a\u010D\U0001F600\r\n"},
      {TextEncoding::kUtf16Be, "\0a\x01\x0D\xD8\x3D\xDE\x00\0\r\0\n"sv, u"a\u010D\U0001F600\r\n"},
      // A byte left over at the end stands for a replacement.
      {TextEncoding::kUtf16Le, "a\0b"sv, u"a\uFFFD"},
      {TextEncoding::kUtf16Be, "\0"sv, u"\uFFFD"},
  };
  for (const Case& c : cases) {
    for (std::size_t cut = 0; cut <= c.bytes.size(); ++cut) {
      EXPECT_EQ(DecodeInTwo(platform, c.encoding, c.bytes, cut), c.decoded)
          << Hex(c.bytes) << " cut at " << cut;
    }
  }
}

TEST(StreamDecoder, HandsAnsiTextToTheCodePageWholeWhereverThePiecesEnd) {
  // A code page where a lead byte and the byte after it make one character: what was handed
  // over in pieces must decode as the whole would.
  FakePlatform platform;
  platform.ansi_double_byte = true;
  // Second bytes at or above 0x40, as in the double-byte code pages.
  const std::string_view bytes =
      "a\x81\x41\x82\x7E|\x83\x40"
      "b\r\n\x84\xFE";
  std::u16string whole;
  StreamDecoder single(platform, TextEncoding::kAnsi);
  single.Feed(bytes, whole);
  single.Finish(whole);
  EXPECT_EQ(whole, platform.AnsiToUtf16(bytes));
  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    EXPECT_EQ(DecodeInTwo(platform, TextEncoding::kAnsi, bytes, cut), whole) << cut;
  }
}

TEST(DecodeText, ChoosesTheEncodingByMarkThenByValidity) {
  FakePlatform platform;
  struct Case {
    std::string_view bytes;
    std::u16string_view text;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF"
       "caf\xC3\xA9",
       u"caf\u00E9"},
      {"\xFF\xFE"
       "\xE9\0"sv,
       u"\u00E9"},
      {"\xFE\xFF"
       "\0\xE9"sv,
       u"\u00E9"},
      {"caf\xC3\xA9", u"caf\u00E9"},
      {"caf\xE9", u"caf\u00E9"},
      // One invalid byte anywhere: every byte is ANSI, the valid sequences too.
      {"caf\xC3\xA9 \x80", u"caf\u00C3\u00A9 \u20AC"},
      // A mark decides even against the bytes: invalid UTF-8 after a UTF-8 mark is replaced.
      {"\xEF\xBB\xBF"
       "caf\xE9",
       u"caf\uFFFD"},
      {"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeText(platform, c.bytes), c.text) << Hex(c.bytes);
}

}  // namespace
}  // namespace linkvane
