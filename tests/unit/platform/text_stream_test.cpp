#include "platform/text_stream.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string_view>
#include <vector>

#include "fake/fake_platform.h"

namespace linkvane {
namespace {

using namespace std::string_view_literals;
using testing::FakePlatform;
using testing::U8;

constexpr std::size_t kChunk = 64 * 1024;
constexpr char16_t kPath[] = u"C:\\t.txt";

// Hands out a file's bytes a few at a time, the way a slow disk or a pipe-like file may, so
// that every character and line end can land across two reads.
class DribblingPlatform : public FakePlatform {
 public:
  explicit DribblingPlatform(std::size_t piece) : piece_(piece) {}

  std::unique_ptr<ByteReader> OpenFileForReading(const std::u16string& path) override {
    return std::make_unique<Dribbling>(FakePlatform::OpenFileForReading(path), piece_);
  }

 private:
  class Dribbling : public ByteReader {
   public:
    Dribbling(std::unique_ptr<ByteReader> inner, std::size_t piece)
        : inner_(std::move(inner)), piece_(piece) {}
    std::size_t Read(char* buffer, std::size_t capacity) override {
      return inner_->Read(buffer, std::min(capacity, piece_));
    }
    void Rewind() override { inner_->Rewind(); }

   private:
    std::unique_ptr<ByteReader> inner_;
    std::size_t piece_;
  };

  std::size_t piece_;
};

std::vector<std::u16string> ReadLines(Platform& platform) {
  TextStream stream = TextStream::Open(platform, kPath);
  std::vector<std::u16string> lines;
  while (!stream.AtEndOfStream()) lines.push_back(stream.ReadLine());
  stream.Close();
  return lines;
}

std::u16string ReadAllText(Platform& platform) {
  TextStream stream = TextStream::Open(platform, kPath);
  std::u16string text = stream.ReadAll();
  stream.Close();
  return text;
}

using Lines = std::vector<std::u16string>;

TEST(TextStream, SplitsLinesOnEveryLineEndWhateverTheReadsLookLike) {
  struct Case {
    const char* name;
    std::string_view bytes;
    Lines lines;
    std::u16string_view all;
  };
  const Case cases[] = {
      {"mixed ends", "a\rb\nc\r\nd", {u"a", u"b", u"c", u"d"}, u"a\rb\nc\r\nd"},
      {"empty lines", "\n\r\n\r", {u"", u"", u""}, u"\n\r\n\r"},
      {"LF CR is two ends", "a\n\rb", {u"a", u"", u"b"}, u"a\n\rb"},
      {"CR CR LF", "a\r\r\nb\r\n", {u"a", u"", u"b"}, u"a\r\r\nb\r\n"},
      {"empty file", "", {}, u""},
      {"UTF-8 mark only", "\xEF\xBB\xBF", {}, u""},
      {"UTF-8 with mark",
       "\xEF\xBB\xBFh\xC3\xA9\r\n\xF0\x9F\x98\x80",
       {u"h\u00E9", u"\U0001F600"},
       u"h\u00E9\r\n\U0001F600"},
      {"UTF-8 without mark",
       "\xE5\xAE\x98\n\xE2\x82\xAC",
       {u"\u5B98", u"\u20AC"},
       u"\u5B98\n\u20AC"},
      {"ANSI", "caf\xE9\r\n\x80", {u"caf\u00E9", u"\u20AC"}, u"caf\u00E9\r\n\u20AC"},
      {"UTF-16LE",
       "\xFF\xFE"
       "a\0\r\0\n\0\x0D\x01\x0A\x0D\r\0"sv,
       {u"a", u"\u010D\u0D0A"},
       u"a\r\n\u010D\u0D0A\r"},
      {"UTF-16BE",
       "\xFE\xFF"
       "\0a\0\n\x0D\x0A\x01\x0D"sv,
       {u"a", u"\u0D0A\u010D"},
       u"a\n\u0D0A\u010D"},
      {"UTF-16 odd length",
       "\xFF\xFE"
       "a\0b"sv,
       {u"a\uFFFD"},
       u"a\uFFFD"},
      // Cut short, the last character makes the file invalid UTF-8, and so ANSI.
      {"UTF-8 cut short", "ab\xE2\x82", {u"ab\u00E2\u201A"}, u"ab\u00E2\u201A"},
      {"UTF-8 cut short after a mark",
       "\xEF\xBB\xBF"
       "ab\xE2\x82",
       {u"ab\uFFFD"},
       u"ab\uFFFD"},
  };
  for (std::size_t piece : {std::size_t{1}, std::size_t{2}, std::size_t{3}, kChunk}) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", pieces of " + std::to_string(piece));
      DribblingPlatform platform(piece);
      platform.AddFile(kPath, std::string(c.bytes));
      EXPECT_EQ(ReadLines(platform), c.lines);
      EXPECT_EQ(ReadAllText(platform), c.all);
    }
  }
}

TEST(TextStream, FindsLineEndsAcrossChunkBoundaries) {
  // Each file puts the interesting bytes right at the end of the first 64 KiB read.
  struct Case {
    const char* name;
    std::string tail;                    // the bytes from offset kChunk - 1 on
    std::u16string_view first_line_end;  // what the first line holds after the "x"s
    Lines rest;                          // the lines after the first
  };
  const Case cases[] = {
      {"LF last in chunk", "\nnext\n", u"", {u"next"}},
      {"CR last, LF first in next", "\r\nnext", u"", {u"next"}},
      {"CR last, no LF", "\rnext", u"", {u"next"}},
      {"CR at the very end", "\r", u"", {}},
      {"UTF-8 split", "\xC3\xA9\n", u"\u00E9", {}},
      {"UTF-8 split, then CR LF", "\xE2\x82\xAC\r\nnext\r\n", u"\u20AC", {u"next"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakePlatform platform;
    platform.AddFile(kPath, std::string(kChunk - 1, 'x') + c.tail);
    Lines expected{std::u16string(kChunk - 1, u'x') + std::u16string(c.first_line_end)};
    expected.insert(expected.end(), c.rest.begin(), c.rest.end());
    EXPECT_EQ(ReadLines(platform), expected);
  }
}

TEST(TextStream, ReadsAFileOfManyChunksLineByLine) {
  std::string bytes;
  Lines expected;
  const char* ends[] = {"\r\n", "\n", "\r"};
  for (std::size_t i = 0; bytes.size() < 5 * kChunk; ++i) {
    std::string line = std::to_string(i) + std::string(i % 700, 'a' + static_cast<char>(i % 26));
    if (i % 5 == 0) line += "\xC3\xA9";
    bytes += line + ends[i % 3];
    expected.push_back(testing::U16(line));
  }
  FakePlatform platform;
  platform.AddFile(kPath, bytes);
  EXPECT_EQ(ReadLines(platform), expected);

  // ReadAll after some lines gives exactly the rest.
  TextStream stream = TextStream::Open(platform, kPath);
  for (int i = 0; i < 100; ++i) stream.ReadLine();
  std::u16string rest;
  for (std::size_t i = 100; i < expected.size(); ++i) {
    rest += expected[i] + testing::U16(ends[i % 3]);
  }
  EXPECT_EQ(stream.ReadAll(), rest);
  EXPECT_TRUE(stream.AtEndOfStream());
}

TEST(TextStream, DecidesTheEncodingFromAllOfTheFile) {
  // Valid UTF-8 for the first several reads, then a byte that UTF-8 does not allow: the file
  // is ANSI from its first byte on.
  const std::string head = "\xC3\xA9" + std::string(3 * kChunk, 'a') + "\n";
  FakePlatform platform;
  platform.AddFile(kPath, head + "\xFF\n");
  EXPECT_EQ(ReadLines(platform),
            (Lines{u"\u00C3\u00A9" + std::u16string(3 * kChunk, u'a'), u"\u00FF"}));
  platform.AddFile(kPath, head + "\xC3\xBF\n");
  EXPECT_EQ(ReadLines(platform), (Lines{u"\u00E9" + std::u16string(3 * kChunk, u'a'), u"\u00FF"}));
}

TEST(TextStream, ReadingPastTheEndOrAfterCloseRaises) {
  FakePlatform platform;
  platform.AddFile(kPath, "one\r\n");
  TextStream stream = TextStream::Open(platform, kPath);
  EXPECT_EQ(stream.ReadLine(), u"one");
  EXPECT_TRUE(stream.AtEndOfStream());
  EXPECT_THROW(stream.ReadLine(), PlatformError);
  EXPECT_EQ(stream.ReadAll(), u"");
  stream.Close();
  EXPECT_THROW(stream.ReadLine(), PlatformError);
  EXPECT_THROW(stream.ReadAll(), PlatformError);
  EXPECT_THROW(stream.AtEndOfStream(), PlatformError);
  EXPECT_THROW(stream.Close(), PlatformError);

  platform.AddFile(kPath, "");
  TextStream empty = TextStream::Open(platform, kPath);
  EXPECT_THROW(empty.ReadLine(), PlatformError);
}

TEST(TextStream, OpeningAMissingOrUnreadableFileRaises) {
  FakePlatform platform;
  EXPECT_THROW(TextStream::Open(platform, kPath), PlatformError);
  platform.AddFile(kPath, "x");
  platform.Fail(testing::Operation::kReadFile);
  EXPECT_THROW(TextStream::Open(platform, kPath), PlatformError);
}

}  // namespace
}  // namespace linkvane
