#include "launcher/binary_plist.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fake/fake_platform.h"

namespace linkvane::Module_Main {
namespace {

using testing::U16;
using testing::U8;

// ---- Building lists byte by byte.

std::string BigEndian(std::uint64_t value, int size) {
  std::string bytes;
  for (int i = size - 1; i >= 0; --i) bytes.push_back(char((value >> (8 * i)) & 0xFF));
  return bytes;
}

// A marker of type with count in its low nibble, or 0xF and an integer object for larger ones.
std::string Marker(unsigned type, std::uint64_t count) {
  if (count < 15) return std::string(1, char((type << 4) | count));
  std::string bytes(1, char((type << 4) | 0xF));
  if (count <= 0xFF) return bytes + char(0x10) + BigEndian(count, 1);
  if (count <= 0xFFFF) return bytes + char(0x11) + BigEndian(count, 2);
  return bytes + char(0x12) + BigEndian(count, 4);
}

std::string Ascii(const std::string& text) { return Marker(0x5, text.size()) + text; }

std::string Utf16(const std::u16string& text) {
  std::string bytes = Marker(0x6, text.size());
  for (char16_t c : text) bytes += BigEndian(c, 2);
  return bytes;
}

std::string Integer(std::uint8_t value) { return std::string(1, char(0x10)) + char(value); }

struct Entry {
  std::uint64_t key, value;  // object numbers
};

std::string Dictionary(const std::vector<Entry>& entries, int reference_size) {
  std::string bytes = Marker(0xD, entries.size());
  for (const Entry& e : entries) bytes += BigEndian(e.key, reference_size);
  for (const Entry& e : entries) bytes += BigEndian(e.value, reference_size);
  return bytes;
}

struct Layout {
  int offset_size = 1;
  int reference_size = 1;
};

// The whole list: magic, objects, offset table, trailer.
std::string BuildList(const std::vector<std::string>& objects, Layout layout,
                      std::uint64_t top = 0) {
  std::string bytes = "bplist00";
  std::vector<std::uint64_t> offsets;
  for (const std::string& object : objects) {
    offsets.push_back(bytes.size());
    bytes += object;
  }
  const std::uint64_t table = bytes.size();
  for (std::uint64_t offset : offsets) bytes += BigEndian(offset, layout.offset_size);
  bytes += std::string(6, '\0');
  bytes += char(layout.offset_size);
  bytes += char(layout.reference_size);
  bytes += BigEndian(objects.size(), 8);
  bytes += BigEndian(top, 8);
  bytes += BigEndian(table, 8);
  return bytes;
}

// The usual web location: { "URL": value }.
std::string WebLocation(const std::string& value_object, Layout layout = {}) {
  return BuildList({Dictionary({{1, 2}}, layout.reference_size), Ascii("URL"), value_object},
                   layout);
}

// The trailer's fields, to be overwritten in a valid list.
constexpr std::size_t kOffsetSizeField = 32 - 6;
constexpr std::size_t kReferenceSizeField = 32 - 7;
constexpr std::size_t kObjectCountField = 32 - 8;
constexpr std::size_t kTopObjectField = 32 - 16;
constexpr std::size_t kOffsetTableField = 32 - 24;

std::string WithField(std::string list, std::size_t from_end, std::string value) {
  list.replace(list.size() - from_end, value.size(), value);
  return list;
}

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(LINKVANE_FIXTURES_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// ---- Valid lists.

TEST(UrlFromBinaryPlist, ReadsRealSafariWebLocations) {
  struct Case {
    const char* file;
    const char* url;
  };
  const Case cases[] = {
      {"lilacstep-test.webloc", "http://wordpress.org/extend/plugins/mondokode-zoomer/"},
      {"csv2rdf4lod-test.webloc",
       "https://github.com/timrdf/csv2rdf4lod-automation/tree/v1.5/test"},
      {"idp-Google Drive.webloc",
       "https://drive.google.com/drive/folders/1-CmvFn1AEhFGxZmUh8Ot2EkNm2DTLaRy?fbclid="
       "IwAR2Y00rLUEcnaGjIAG4-XZ1TeeZoJ3ha_GBbXh_Nc5DOXkt0gprQjAuukl0"},
      {"studentloans-website.webloc", "https://www.mint.com/"},
      // Mangled by a text editor: the dictionary marker is gone, and so are the offset table
      // and the trailer.
      {"studentloans-website-corrupt.webloc", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(U8(UrlFromBinaryPlist(ReadFixture(c.file))), c.url) << c.file;
  }
}

TEST(UrlFromBinaryPlist, ReadsEveryOffsetAndReferenceSize) {
  const std::string url = "https://example.com/";
  const Layout layouts[] = {{1, 1}, {2, 2}, {4, 4}, {8, 8}, {1, 2}, {4, 1}, {2, 8}};
  for (const Layout layout : layouts) {
    EXPECT_EQ(U8(UrlFromBinaryPlist(WebLocation(Ascii(url), layout))), url)
        << layout.offset_size << "/" << layout.reference_size;
  }
}

TEST(UrlFromBinaryPlist, ReadsOffsetsBeyondOneByte) {
  // A long first key pushes the later objects past offset 255, and past 65535, so that their
  // offsets need every byte of the table's entries.
  for (const std::size_t filler : {300u, 70000u}) {
    const Layout layout{filler < 0x10000 ? 2 : 4, 2};
    const std::string list =
        BuildList({Dictionary({{1, 2}, {3, 4}}, 2), Ascii(std::string(filler, 'x')), Integer(1),
                   Ascii("URL"), Ascii("https://far.example/")},
                  layout);
    EXPECT_EQ(U8(UrlFromBinaryPlist(list)), "https://far.example/") << filler;
  }
}

TEST(UrlFromBinaryPlist, ReadsAsciiAndUtf16StringsOfEveryLengthForm) {
  const std::u16string unicode = U16("https://bücher.example/\U0001F600?q=日本");
  const std::string long_ascii = "https://example.com/" + std::string(280, 'a');
  struct Case {
    std::string object;
    std::u16string expected;
  };
  const Case cases[] = {
      {Ascii("http://a.b/"), u"http://a.b/"},                      // length in the marker
      {Ascii("https://example.com/x"), u"https://example.com/x"},  // 1-byte length integer
      {Ascii(long_ascii), U16(long_ascii)},                        // 2-byte length integer
      {Utf16(u"http://a.b/"), u"http://a.b/"},
      {Utf16(unicode), unicode},
      {Utf16(unicode + std::u16string(300, u'\u00FC')), unicode + std::u16string(300, u'\u00FC')},
      // An ASCII string with high bytes: each byte is one character, as in Latin-1.
      {Ascii("http://caf\xE9/"), u"http://caf\u00E9/"},
      {Ascii(""), u""},
      // No entity decoding: the value is taken as written.
      {Ascii("http://a.b/?x=1&amp;y=2"), u"http://a.b/?x=1&amp;y=2"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UrlFromBinaryPlist(WebLocation(c.object)), c.expected) << U8(c.expected);
  }
  // A 4-byte length integer, for a string that needs no more than two bytes.
  const std::string four_byte_length =
      std::string(1, char(0x5F)) + char(0x12) + BigEndian(4, 4) + "a://";
  EXPECT_EQ(UrlFromBinaryPlist(WebLocation(four_byte_length)), u"a://");
}

TEST(UrlFromBinaryPlist, FindsTheUrlKeyAmongOthers) {
  // Keys and values in any order; the "URL" key last, written as UTF-16.
  const std::string list = BuildList(
      {Ascii("Title"), Ascii("Example"), Ascii("URLs"), Ascii("http://wrong.example/"),
       Utf16(u"URL"), Ascii("http://right.example/"), Dictionary({{0, 1}, {2, 3}, {4, 5}}, 1)},
      {}, 6);
  EXPECT_EQ(U8(UrlFromBinaryPlist(list)), "http://right.example/");

  // Like the XML markers, the key is matched ignoring letter case; the first match wins.
  const std::string twice = BuildList({Dictionary({{1, 2}, {3, 4}}, 1), Ascii("url"),
                                       Ascii("http://first/"), Ascii("URL"), Ascii("http://2/")},
                                      {});
  EXPECT_EQ(U8(UrlFromBinaryPlist(twice)), "http://first/");

  const std::string no_url = BuildList(
      {Dictionary({{1, 2}, {3, 4}}, 1), Ascii("URL "), Ascii("a://"), Ascii("UR"), Ascii("b://")},
      {});
  EXPECT_EQ(UrlFromBinaryPlist(no_url), u"");
}

TEST(UrlFromBinaryPlist, IgnoresTheTrailersUnusedBytes) {
  std::string list = WebLocation(Ascii("http://a.b/"));
  for (std::size_t i = 0; i < 6; ++i) list[list.size() - 32 + i] = char(0xA5);
  EXPECT_EQ(UrlFromBinaryPlist(list), u"http://a.b/");
}

// ---- Malformed lists.

TEST(UrlFromBinaryPlist, RejectsBrokenFramesAndTrailers) {
  const std::string valid = WebLocation(Ascii("http://a.b/"));
  ASSERT_EQ(UrlFromBinaryPlist(valid), u"http://a.b/");
  const std::uint64_t table = valid.size() - 32 - 3;
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"empty", ""},
      {"magic alone", "bplist00"},
      {"other magic", "bplist01" + valid.substr(8)},
      {"xml", "<?xml version=\"1.0\"?><plist><dict><key>URL</key><string>a</string></dict>"},
      {"offset size 3", WithField(valid, kOffsetSizeField, "\3")},
      {"offset size 0", WithField(valid, kOffsetSizeField, std::string(1, '\0'))},
      {"reference size 16", WithField(valid, kReferenceSizeField, "\x10")},
      {"no objects", WithField(valid, kObjectCountField, BigEndian(0, 8))},
      {"top object out of range", WithField(valid, kTopObjectField, BigEndian(3, 8))},
      {"top object far out of range", WithField(valid, kTopObjectField, BigEndian(~0ull, 8))},
      {"table past the end", WithField(valid, kOffsetTableField, BigEndian(valid.size(), 8))},
      {"table overlapping the trailer",
       WithField(valid, kOffsetTableField, BigEndian(valid.size() - 33, 8))},
      {"table far past the end", WithField(valid, kOffsetTableField, BigEndian(~0ull - 2, 8))},
      {"table inside the magic", WithField(valid, kOffsetTableField, BigEndian(4, 8))},
      // Object counts whose table would wrap around the address space.
      {"count overflowing the table",
       WithField(WithField(valid, kObjectCountField, BigEndian(~0ull, 8)), kOffsetSizeField,
                 "\x08")},
      {"count of 2^61 eight-byte entries",
       WithField(WithField(valid, kObjectCountField, BigEndian(1ull << 61, 8)), kOffsetSizeField,
                 "\x08")},
      {"one object more than the table holds",
       WithField(valid, kObjectCountField, BigEndian(4, 8))},
      {"object offset past the table", WithField(valid, 32 + 3, "\x7F")},
      {"object offset at the table", WithField(valid, 32 + 1, std::string(1, char(table)))},
      {"object offset inside the magic", WithField(valid, 32 + 3, "\x02")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UrlFromBinaryPlist(c.bytes), u"") << c.what;
  }
  // Every shorter piece of a valid list has lost its trailer.
  for (std::size_t size = 0; size < valid.size(); ++size) {
    EXPECT_EQ(UrlFromBinaryPlist(valid.substr(0, size)), u"") << size;
  }
}

TEST(UrlFromBinaryPlist, RejectsBrokenObjects) {
  const std::string key = Ascii("URL");
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"top is a string", BuildList({Ascii("URL")}, {})},
      {"top is an array", BuildList({std::string(1, char(0xA1)) + char(1), key}, {})},
      {"value is an integer", WebLocation(Integer(7))},
      {"value is a dictionary", WebLocation(Dictionary({}, 1))},
      // References that lead back to the dictionary itself.
      {"value refers to the dictionary", BuildList({Dictionary({{1, 0}}, 1), key}, {})},
      {"key refers to the dictionary", BuildList({Dictionary({{0, 0}}, 1), key}, {})},
      {"value refers past the objects", BuildList({Dictionary({{1, 9}}, 1), key}, {})},
      {"key refers past the objects", BuildList({Dictionary({{200, 1}}, 1), key}, {})},
      // Lengths and counts that reach past the objects.
      {"string longer than the data", WebLocation(Marker(0x5, 200) + "http://")},
      {"utf-16 string with an odd byte", WebLocation(Marker(0x6, 3) + std::string("\0a\0b\0", 5))},
      {"string length of 2^64 - 1",
       WebLocation(std::string(1, char(0x5F)) + char(0x13) + BigEndian(~0ull, 8) + "x")},
      {"utf-16 length overflowing when doubled",
       WebLocation(std::string(1, char(0x6F)) + char(0x13) + BigEndian(1ull << 63, 8) + "x")},
      {"length integer of 16 bytes",
       WebLocation(std::string(1, char(0x5F)) + char(0x14) + std::string(16, '\0'))},
      {"length that is not an integer", WebLocation(std::string(1, char(0x5F)) + "\x25"
                                                                                 "abc")},
      {"length integer cut short", WebLocation(std::string(1, char(0x5F)) + char(0x11))},
      {"dictionary count past the data",
       BuildList({Marker(0xD, 14) + std::string(2, '\1'), key, Ascii("a://")}, {})},
      {"dictionary count of 2^64 - 1",
       BuildList({std::string(1, char(0xDF)) + char(0x13) + BigEndian(~0ull, 8) + "\1\2", key,
                  Ascii("a://")},
                 {})},
      {"dictionary whose count wraps when doubled",
       BuildList({std::string(1, char(0xDF)) + char(0x13) + BigEndian(1ull << 63, 8) + "\1\2", key,
                  Ascii("a://")},
                 {})},
      {"dictionary with keys but no values",
       BuildList({key, Ascii("a://"), Marker(0xD, 1) + std::string(1, '\0')}, {}, 2)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UrlFromBinaryPlist(c.bytes), u"") << c.what;
  }
}

}  // namespace
}  // namespace linkvane::Module_Main
