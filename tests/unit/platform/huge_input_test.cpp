// Shortcut files of any size and shape: the readers hold only a bounded part of a file,
// however large it is and however long its lines, and still give exactly what reading its
// whole text at once gives (cut to the length no command line can exceed). The fast paths of
// searching and decoding agree with plain loops at every alignment.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"
#include "launcher/utf7.h"
#include "platform/text_decoding.h"
#include "platform/text_stream.h"
#include "text/case_insensitive.h"

// --- Heap accounting. Every allocation of the test program passes through here, so that a
// test can tell the most memory that a call had in use at once.

namespace {

std::size_t g_heap_in_use = 0;
std::size_t g_heap_peak = 0;

struct alignas(std::max_align_t) BlockHeader {
  std::size_t size;
};

void* AllocateCounted(std::size_t size) {
  auto* header = static_cast<BlockHeader*>(std::malloc(sizeof(BlockHeader) + size));
  if (header == nullptr) throw std::bad_alloc();
  header->size = size;
  g_heap_in_use += size;
  g_heap_peak = std::max(g_heap_peak, g_heap_in_use);
  return header + 1;
}

void ReleaseCounted(void* block) noexcept {
  if (block == nullptr) return;
  BlockHeader* header = static_cast<BlockHeader*>(block) - 1;
  g_heap_in_use -= header->size;
  std::free(header);
}

void* AllocateCountedNoThrow(std::size_t size) noexcept {
  try {
    return AllocateCounted(size);
  } catch (...) {
    return nullptr;
  }
}

}  // namespace

void* operator new(std::size_t size) { return AllocateCounted(size); }
void* operator new[](std::size_t size) { return AllocateCounted(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateCountedNoThrow(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return AllocateCountedNoThrow(size);
}
void operator delete(void* block) noexcept { ReleaseCounted(block); }
void operator delete[](void* block) noexcept { ReleaseCounted(block); }
void operator delete(void* block, std::size_t) noexcept { ReleaseCounted(block); }
void operator delete[](void* block, std::size_t) noexcept { ReleaseCounted(block); }
void operator delete(void* block, const std::nothrow_t&) noexcept { ReleaseCounted(block); }
void operator delete[](void* block, const std::nothrow_t&) noexcept { ReleaseCounted(block); }

namespace linkvane {
namespace {

using Module_Main::GetUrlFromShortcut;
using Module_Main::GetUrlFromWebloc;
using testing::FakePlatform;
using testing::U16;
using testing::U8;

constexpr std::size_t kLongestValue = 64 * 1024;
// Far below what holding any of the big files below would take (twice its size as UTF-16).
constexpr std::size_t kHeapBound = 6 * 1024 * 1024;
constexpr std::uint64_t kBigFile = 16 * 1024 * 1024;

// The most heap in use at once while call ran, beyond what was in use before it.
std::size_t PeakHeapDuring(const std::function<void()>& call) {
  const std::size_t before = g_heap_in_use;
  g_heap_peak = before;
  call();
  return g_heap_peak - before;
}

// --- Files made on the fly, never held in memory whole: a head, a pattern repeated to a
// given size, and a tail.

// The next byte of a fixed pseudo-random sequence (xorshift), never the letter u or U, so that
// no URL key or marker can occur in it.
char RandomByte(std::uint64_t& state) {
  state ^= state << 13;
  state ^= state >> 7;
  state ^= state << 17;
  const char byte = static_cast<char>(state >> 32);
  return (byte | 0x20) == 'u' ? '_' : byte;
}

struct GeneratedFile {
  std::string head;
  std::string pattern;  // empty: pseudo-random bytes
  std::uint64_t body_size;
  std::string tail;
};

class GeneratedReader : public ByteReader {
 public:
  explicit GeneratedReader(const GeneratedFile& file) : file_(file) {}

  std::size_t Read(char* buffer, std::size_t capacity) override {
    const std::uint64_t head_end = file_.head.size();
    const std::uint64_t body_end = head_end + file_.body_size;
    std::size_t written = 0;
    while (written < capacity) {
      std::size_t count = 0;
      if (offset_ < head_end) {
        count = std::min<std::uint64_t>(capacity - written, head_end - offset_);
        std::memcpy(buffer + written, file_.head.data() + offset_, count);
      } else if (offset_ < body_end && file_.pattern.empty()) {
        count = std::min<std::uint64_t>(capacity - written, body_end - offset_);
        for (std::size_t i = 0; i < count; ++i) buffer[written + i] = RandomByte(random_);
      } else if (offset_ < body_end) {
        const std::size_t at = (offset_ - head_end) % file_.pattern.size();
        count = std::min<std::uint64_t>(
            {capacity - written, body_end - offset_, file_.pattern.size() - at});
        std::memcpy(buffer + written, file_.pattern.data() + at, count);
      } else if (offset_ - body_end < file_.tail.size()) {
        count =
            std::min<std::uint64_t>(capacity - written, file_.tail.size() - (offset_ - body_end));
        std::memcpy(buffer + written, file_.tail.data() + (offset_ - body_end), count);
      } else {
        break;
      }
      written += count;
      offset_ += count;
    }
    return written;
  }

  void Rewind() override {
    offset_ = 0;
    random_ = kSeed;
  }

 private:
  static constexpr std::uint64_t kSeed = 0x9E3779B97F4A7C15u;
  const GeneratedFile& file_;
  std::uint64_t offset_ = 0;
  std::uint64_t random_ = kSeed;
};

class GeneratedPlatform : public FakePlatform {
 public:
  explicit GeneratedPlatform(GeneratedFile file) : file_(std::move(file)) {
    // Whole repeats of the pattern, enough to be copied a read at a time.
    const std::string unit = file_.pattern;
    while (!unit.empty() && file_.pattern.size() < 64 * 1024) file_.pattern += unit;
  }
  std::unique_ptr<ByteReader> OpenFileForReading(const std::u16string&) override {
    return std::make_unique<GeneratedReader>(file_);
  }

 private:
  GeneratedFile file_;
};

std::u16string ReadUrl(Platform& platform, const std::u16string& path) {
  return EndsWithNoCase(path, u".webloc") ? GetUrlFromWebloc(platform, path)
                                          : GetUrlFromShortcut(platform, path);
}

const std::string kCommentLine =
    "Comment=lorem ipsum dolor sit amet, consectetur adipiscing elit, sed do eiusmod\r\n";

struct BigCase {
  const char* name;
  const char16_t* path;
  GeneratedFile file;
  std::u16string url;
};

std::vector<BigCase> BigCases() {
  const std::u16string huge_value =
      u"http://huge.example/" + std::u16string(kLongestValue - 20, u'a');
  return {
      {"URL line after many lines",
       u"C:\\big.url",
       {"[InternetShortcut]\r\n", kCommentLine, kBigFile, "URL=http://last.example/\r\n"},
       u"http://last.example/"},
      {"section's own URL key after a BASEURL and many lines",
       u"C:\\big.url",
       {"[DEFAULT]\r\nBASEURL=http://b/\r\n[InternetShortcut]\r\n", kCommentLine, kBigFile,
        "\r\nURL = http://own.example/\r\n"},
       u" http://own.example/"},
      {"URL line after one huge line",
       u"C:\\big.url",
       {"Comment=", "abcdefgh", kBigFile, "\r\nURL=http://after.example/\r\n"},
       u"http://after.example/"},
      {"huge URL line",
       u"C:\\big.url",
       {"[InternetShortcut]\nURL=http://huge.example/", "a", kBigFile, "\n"},
       huge_value},
      {"Unicode section's URL after a huge ANSI one",
       u"C:\\big.url",
       {"URL=http://x/", "y", kBigFile, "\r\n[InternetShortcut.W]\r\nURL=http://x/+AOk-\r\n"},
       u"http://x/\u00E9"},
      {"ANSI bytes that never end a character, then the URL",
       u"C:\\big.url",
       {"", "\xC1\xC2\xC3\xC4", kBigFile, "\nURL=http://ansi.example/\xE9\n"},
       u"http://ansi.example/\u00E9"},
      {"UTF-16 lines, then the URL",
       u"C:\\big.url",
       {std::string("\xFF\xFE", 2), std::string("a\0b\0\r\0\n\0", 8), kBigFile,
        std::string("U\0R\0L\0=\0h\0:\0/\0/\0w\0", 18)},
       u"h://w"},
      {"NUL bytes", u"C:\\big.url", {"", std::string(1, '\0'), kBigFile, ""}, u""},
      {"random bytes", u"C:\\big.url", {"", "", kBigFile / 4, ""}, u""},
      {"markers at the end",
       u"C:\\big.webloc",
       {"<plist><dict>\n", kCommentLine, kBigFile,
        "<key>URL</key><string>http://w.example/</string></dict></plist>\n"},
       u"http://w.example/"},
      {"markers far apart",
       u"C:\\big.webloc",
       {"<key>URL</key>", kCommentLine, kBigFile, "<string>http://apart/</string>"},
       u"http://apart/"},
      {"huge value",
       u"C:\\big.webloc",
       {"<key>URL</key><string>http://huge.example/", "a", kBigFile, "</string>"},
       huge_value},
      {"NUL bytes", u"C:\\big.webloc", {"", std::string(1, '\0'), kBigFile, ""}, u""},
      {"random bytes", u"C:\\big.webloc", {"", "", kBigFile / 4, ""}, u""},
  };
}

TEST(HugeInput, ReadersHoldOnlyABoundedPartOfTheFile) {
  for (const BigCase& c : BigCases()) {
    SCOPED_TRACE(std::string(c.name) + " in " + U8(c.path));
    GeneratedPlatform platform(c.file);
    std::u16string url;
    const std::size_t peak = PeakHeapDuring([&] { url = ReadUrl(platform, c.path); });
    EXPECT_EQ(url.size(), c.url.size());
    EXPECT_TRUE(url == c.url) << U8(url.substr(0, 80));
    EXPECT_LT(peak, kHeapBound);
  }
}

TEST(HugeInput, TheHeapBoundWouldCatchAReaderThatHoldsTheWholeText) {
  GeneratedPlatform platform({"", kCommentLine, kBigFile / 4, ""});
  const std::size_t peak = PeakHeapDuring([&] {
    TextStream stream = TextStream::Open(platform, u"C:\\big.url");
    EXPECT_EQ(stream.ReadAll().size(), kBigFile / 4);
  });
  EXPECT_GT(peak, kHeapBound);
}

// --- The streaming readers against a model that reads the whole text at once.

std::size_t PlainFind(std::u16string_view text, std::u16string_view needle, std::size_t from = 0) {
  for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
    bool match = true;
    for (std::size_t i = 0; i < needle.size() && match; ++i) {
      match = FoldCase(text[at + i]) == FoldCase(needle[i]);
    }
    if (match) return at;
  }
  return kNotFound;
}

std::vector<std::u16string> WholeTextLines(const std::u16string& text) {
  std::vector<std::u16string> lines;
  std::size_t at = 0;
  while (at < text.size()) {
    std::size_t end = at;
    while (end < text.size() && text[end] != u'\r' && text[end] != u'\n') ++end;
    lines.push_back(text.substr(at, end - at));
    at = end + 1;
    if (end < text.size() && text[end] == u'\r' && at < text.size() && text[at] == u'\n') ++at;
  }
  return lines;
}

std::u16string TrimmedOfBlanks(const std::u16string& text) {
  const std::size_t first = text.find_first_not_of(u" \t");
  if (first == std::u16string::npos) return std::u16string();
  return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

std::u16string ModelShortcutUrl(Platform& platform, const std::string& bytes) {
  std::optional<std::u16string> result;
  std::optional<std::u16string> section_url;
  int shortcut_sections = 0;  // headers of the [InternetShortcut] section or after it
  bool in_unicode_section = false;
  for (const std::u16string& line : WholeTextLines(DecodeText(platform, bytes))) {
    const std::size_t plain = PlainFind(line, u"URL=");
    const std::size_t expanding = PlainFind(line, u"URL[$e]=");
    if (!result && plain != kNotFound && (expanding == kNotFound || plain < expanding)) {
      result = line.substr(plain + 4);
    } else if (!result && expanding != kNotFound) {
      result = line.substr(expanding + 8);
    }
    const std::u16string trimmed = TrimmedOfBlanks(line);
    const std::size_t equals = line.find(u'=');
    if (!trimmed.empty() && trimmed[0] == u'[') {
      in_unicode_section = EqualsNoCase(trimmed, u"[InternetShortcut.W]");
      if (shortcut_sections > 0 || EqualsNoCase(trimmed, u"[InternetShortcut]"))
        ++shortcut_sections;
    } else if (in_unicode_section && plain != kNotFound) {
      result = Module_Main::DecodeUtf7(line.substr(plain + 4));
      section_url.reset();
      break;
    } else if (shortcut_sections == 1 && !section_url && equals != std::u16string::npos &&
               EqualsNoCase(TrimmedOfBlanks(line.substr(0, equals)), u"URL")) {
      section_url = line.substr(equals + 1);
    }
  }
  return section_url.value_or(result.value_or(std::u16string())).substr(0, kLongestValue);
}

std::u16string ModelWeblocUrl(Platform& platform, const std::string& bytes) {
  const std::u16string text = DecodeText(platform, bytes);
  const std::size_t key = PlainFind(text, u"<key>URL</key>");
  if (key == kNotFound) return u"";
  const std::size_t start = PlainFind(text, u"<string>", key + 14);
  if (start == kNotFound) return u"";
  const std::size_t end = PlainFind(text, u"</string>", start + 8);
  if (end == kNotFound) return u"";
  const std::u16string value = text.substr(start + 8, end - start - 8);
  return Module_Main::DecodeXmlEntities(value).substr(0, kLongestValue);
}

// Hands out a file's bytes in reads of pseudo-random sizes from 1 to 7 bytes, so that the text
// comes in pieces that split lines, markers and characters everywhere.
class ScatteringPlatform : public FakePlatform {
 public:
  std::unique_ptr<ByteReader> OpenFileForReading(const std::u16string& path) override {
    return std::make_unique<Scattering>(FakePlatform::OpenFileForReading(path), ++seed_);
  }

 private:
  class Scattering : public ByteReader {
   public:
    Scattering(std::unique_ptr<ByteReader> inner, unsigned seed)
        : inner_(std::move(inner)), state_(seed) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
      state_ = state_ * 1103515245u + 12345u;
      return inner_->Read(buffer, std::min<std::size_t>(capacity, 1 + (state_ >> 16) % 7));
    }
    void Rewind() override { inner_->Rewind(); }

   private:
    std::unique_ptr<ByteReader> inner_;
    unsigned state_;
  };
  unsigned seed_ = 0;
};

std::string Soup(std::uint64_t& state, const std::vector<std::string>& tokens) {
  std::string bytes;
  const std::size_t count = RandomByte(state) & 63;
  for (std::size_t i = 0; i < count; ++i) {
    bytes += tokens[static_cast<unsigned char>(RandomByte(state)) % tokens.size()];
  }
  return bytes;
}

std::string Utf16LeWithMark(const std::string& utf8) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : U16(utf8)) {
    bytes += static_cast<char>(c & 0xFF);
    bytes += static_cast<char>(c >> 8);
  }
  return bytes;
}

struct Reader {
  const char16_t* path;
  std::u16string (*model)(Platform&, const std::string&);
};

void ExpectReaderMatchesModel(const Reader& reader, const std::string& bytes) {
  FakePlatform whole;
  ScatteringPlatform scattered;
  FakePlatform decoded_first;  // the path of the double-byte code pages
  decoded_first.ansi_single_byte = false;
  whole.AddFile(reader.path, bytes);
  scattered.AddFile(reader.path, bytes);
  decoded_first.AddFile(reader.path, bytes);
  const std::u16string expected = reader.model(whole, bytes);
  const std::u16string in_one_read = ReadUrl(whole, reader.path);
  const std::u16string in_pieces = ReadUrl(scattered, reader.path);
  EXPECT_TRUE(in_one_read == expected && in_pieces == expected &&
              ReadUrl(decoded_first, reader.path) == expected)
      << "file: " << ::testing::PrintToString(bytes.substr(0, 300)) << "\nexpected "
      << U8(expected.substr(0, 100)) << "\n     got " << U8(in_one_read.substr(0, 100))
      << "\n in pieces " << U8(in_pieces.substr(0, 100));
}

TEST(StreamingReaders, GiveWhatReadingTheWholeTextGives) {
  const Reader shortcut{u"C:\\soup.url", ModelShortcutUrl};
  const Reader webloc{u"C:\\soup.webloc", ModelWeblocUrl};
  const std::vector<std::string> line_tokens = {"URL=",
                                                "url=",
                                                "UrL[$E]=",
                                                "URL[$e]=",
                                                "URL[$x]=",
                                                "UR",
                                                "L=",
                                                "[$e]=",
                                                "[InternetShortcut.W]",
                                                "[internetshortcut.w]",
                                                "[InternetShortcut]",
                                                "[internetSHORTCUT]",
                                                "BASEURL=",
                                                "URL",
                                                "=",
                                                "[Other]",
                                                "[",
                                                "]",
                                                " ",
                                                "  ",
                                                "\t",
                                                "\r",
                                                "\n",
                                                "\r\n",
                                                "http://a/",
                                                "x",
                                                "+AOk-",
                                                "+ZeVnLA-",
                                                "+",
                                                "-",
                                                "\xC3\xA9",
                                                "\xE9",
                                                "\x93\xFA",
                                                std::string(1, '\0')};
  const std::vector<std::string> webloc_tokens = {"<key>URL</key>",
                                                  "<KEY>url</key>",
                                                  "<key>",
                                                  "URL",
                                                  "</key>",
                                                  "<string>",
                                                  "<String>",
                                                  "</string>",
                                                  "</STRING>",
                                                  "</str",
                                                  "ing>",
                                                  "<",
                                                  ">",
                                                  "&amp;",
                                                  "&#65;",
                                                  "&#x42;",
                                                  "&",
                                                  ";",
                                                  "&lt",
                                                  "&#",
                                                  "http://a/",
                                                  "x",
                                                  "\n",
                                                  "\t",
                                                  " ",
                                                  "\xC3\xA9",
                                                  "\xE9",
                                                  std::string(1, '\0')};
  std::uint64_t state = 0x2545F4914F6CDD1Du;
  for (int i = 0; i < 3000; ++i) {
    std::string lines = Soup(state, line_tokens);
    std::string plist = Soup(state, webloc_tokens);
    ExpectReaderMatchesModel(shortcut, lines);
    ExpectReaderMatchesModel(webloc, plist);
    // The same texts as UTF-16 (when they are valid UTF-8) and after a UTF-8 mark.
    if (i % 4 == 0 && U8(U16(lines)) == lines)
      ExpectReaderMatchesModel(shortcut, Utf16LeWithMark(lines));
    if (i % 4 == 1) ExpectReaderMatchesModel(webloc, "\xEF\xBB\xBF" + plist);
    if (HasFailure()) break;
  }
}

TEST(StreamingReaders, CutValuesToTheFirstCharactersOfTheWholeResult) {
  const Reader shortcut{u"C:\\long.url", ModelShortcutUrl};
  const Reader webloc{u"C:\\long.webloc", ModelWeblocUrl};
  const std::string around_the_cap = std::string(kLongestValue - 3, 'v') + "wxyz0123";
  std::string base64_run;
  while (base64_run.size() < 7 * kLongestValue) base64_run += "AGgAdAB0AHAA";
  std::string short_runs;  // five characters of UTF-7 for each one of text
  while (short_runs.size() < 6 * kLongestValue) short_runs += "+AGE-";
  std::string references;  // five characters of XML for each one of text
  while (references.size() < 6 * kLongestValue) references += "&#65;&amp;&lt;&#x10437;x";
  const std::string cases[] = {
      "URL=" + around_the_cap + "\n",
      "URL[$e]=" + around_the_cap,
      "[InternetShortcut.W]\nURL=+" + base64_run + "-\n",
      "[InternetShortcut.W]\r\nURL=" + short_runs + "\r\n",
      "[InternetShortcut.W]\r\nURL=" + short_runs.substr(0, 5 * kLongestValue - 10) + "\r\n",
  };
  for (const std::string& bytes : cases) ExpectReaderMatchesModel(shortcut, bytes);
  const std::string plists[] = {
      "<key>URL</key><string>" + around_the_cap + "</string>",
      "<key>URL</key><string>" + references + "</string>",
      "<key>URL</key><string>" + references.substr(0, 4 * kLongestValue) + "</string>",
  };
  for (const std::string& bytes : plists) ExpectReaderMatchesModel(webloc, bytes);
}

TEST(StreamingReaders, DecodeEveryReferenceThatStraddlesAPieceOfTheValue) {
  // References at every distance from the points where a long value is decoded in parts.
  const Reader webloc{u"C:\\refs.webloc", ModelWeblocUrl};
  for (std::size_t shift = 0; shift < 80; ++shift) {
    std::string value(shift, 'a');
    while (value.size() < 20000) value += "&#x41;b&amp;&&;&#66;c&lt;&#1234567;";
    ExpectReaderMatchesModel(webloc, "<key>URL</key><string>" + value + "</string>");
    if (HasFailure()) break;
  }
}

// --- Fast paths against plain loops.

TEST(FastPaths, SearchesAgreeWithAPlainScanAtEveryAlignment) {
  // Units that one bit apart from the needle's: the other case, and near misses that are not
  // letters ("@" and "`", "[" and "{") or not ASCII ("\u00C9" and "\u00E9").
  const std::u16string alphabet = u"uUrRlL=@`[{\u00C9\u00E9\u0155\u0175xX\r\n ";
  const std::u16string needles[] = {u"u",       u"@",  u"URL=", u"url[$E]=", u"<key>URL</key>",
                                    u"\u00E9x", u"@`", u"[{",   u"\r",       u"=L"};
  std::uint64_t state = 12345;
  for (std::size_t length = 0; length < 70; ++length) {
    for (int trial = 0; trial < 40; ++trial) {
      std::u16string text;
      for (std::size_t i = 0; i < length; ++i) {
        text.push_back(alphabet[static_cast<unsigned char>(RandomByte(state)) % alphabet.size()]);
      }
      for (const std::u16string& needle : needles) {
        // Sometimes plant the needle, in a mixed case, at a random place.
        if (trial % 2 == 0 && needle.size() <= length) {
          const std::size_t at =
              static_cast<unsigned char>(RandomByte(state)) % (length - needle.size() + 1);
          for (std::size_t i = 0; i < needle.size(); ++i) {
            text[at + i] = (trial % 4 == 0) ? ToUpperAscii(needle.substr(i, 1))[0] : needle[i];
          }
        }
        // The same in bytes: units above 0xFF become one byte that no needle holds.
        std::string bytes, needle_bytes;
        std::u16string widened;  // the bytes as units, for the plain scan
        for (char16_t c : text) {
          const auto b = static_cast<unsigned char>(c < 0x100 ? c : 0xD5);
          bytes += static_cast<char>(b);
          widened += char16_t(b);
        }
        for (char16_t c : needle) needle_bytes += static_cast<char>(c);
        for (std::size_t from = 0; from <= length; from += 1 + length / 8) {
          ASSERT_EQ(FindNoCase(text, needle, from), PlainFind(text, needle, from))
              << U8(needle) << " in " << U8(text) << " from " << from;
          ASSERT_EQ(FindNoCase(bytes, needle_bytes, from), PlainFind(widened, needle, from))
              << U8(needle) << " in bytes of " << U8(text) << " from " << from;
        }
      }
      for (std::size_t from = 0; from <= length; ++from) {
        std::size_t plain = from;
        while (plain < length && text[plain] != u'\r' && text[plain] != u'\n') ++plain;
        ASSERT_EQ(FindEitherUnit(text, u'\r', u'\n', from), plain < length ? plain : kNotFound)
            << U8(text) << " from " << from;
      }
    }
  }
}

TEST(FastPaths, DecodingAgreesAtEveryAlignment) {
  FakePlatform platform;
  struct Character {
    std::string bytes;
    std::u16string text;
  };
  const Character characters[] = {
      {"\xC3\xA9", u"\u00E9"},
      {"\xE5\xAE\x98", u"\u5B98"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
  };
  for (std::size_t at = 0; at < 70; ++at) {
    for (const Character& c : characters) {
      const std::string bytes = std::string(at, 'a') + c.bytes + std::string(70 - at, 'b');
      const std::u16string text = std::u16string(at, u'a') + c.text + std::u16string(70 - at, u'b');
      EXPECT_EQ(DecodeText(platform, bytes), text) << "at " << at;
      for (std::size_t piece : {std::size_t{1}, std::size_t{5}, std::size_t{17}}) {
        StreamDecoder decoder(platform, TextEncoding::kUtf8);
        std::u16string decoded;
        for (std::size_t from = 0; from < bytes.size(); from += piece) {
          decoder.Feed(std::string_view(bytes).substr(from, piece), decoded);
        }
        decoder.Finish(decoded);
        EXPECT_EQ(decoded, text) << "at " << at << ", pieces of " << piece;
      }
    }
    // One byte that UTF-8 forbids makes the text ANSI, wherever it lies.
    const std::string ansi = std::string(at, 'a') + "\xE9" + std::string(70 - at, 'b');
    EXPECT_EQ(DecodeText(platform, ansi),
              std::u16string(at, u'a') + u"\u00E9" + std::u16string(70 - at, u'b'))
        << "at " << at;
    Utf8Validator validator;
    validator.Feed(ansi);
    EXPECT_FALSE(validator.Valid()) << "at " << at;
  }
}

}  // namespace
}  // namespace linkvane
