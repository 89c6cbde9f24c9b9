#include <gtest/gtest.h>

#include <algorithm>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"

namespace linkvane {
namespace {

using Module_Main::FileExists;
using Module_Main::NormalizeArgument;
using Module_Main::StripQuotes;
using testing::FakePlatform;
using testing::U16;
using testing::U8;

TEST(StripQuotes, RemovesOuterSpacesThenOneQuoteAtEachEnd) {
  struct Case {
    std::u16string_view text, stripped;
  };
  const Case cases[] = {
      {u"\"C:\\a b\\x.url\"", u"C:\\a b\\x.url"},
      {u"   \"C:\\x.url\"  ", u"C:\\x.url"},
      {u"\"  C:\\x.url \"", u"  C:\\x.url "},
      {u"\"C:\\x.url", u"C:\\x.url"},
      {u"C:\\x.url\"", u"C:\\x.url"},
      {u"\"", u""},
      {u"\"\"", u""},
      {u"\"\"\"", u"\""},
      {u"  \"  ", u""},
      {u"", u""},
      {u"    ", u""},
      {u"C:\\x.url", u"C:\\x.url"},
      {u"\t\"C:\\x.url\"\t", u"\t\"C:\\x.url\"\t"},
  };
  for (const Case& c : cases) {
    std::u16string text(c.text);
    StripQuotes(text);
    EXPECT_EQ(text, c.stripped) << U8(c.text);
  }
}

TEST(NormalizeArgument, BringsEveryShapeToAPlainPath) {
  struct Case {
    std::u16string_view argument, prepared;
    bool asks_shell;  // only what may be a URL goes to the shell's test
  };
  const Case cases[] = {
      {u"\"C:\\Links\\x.url\"", u"C:\\Links\\x.url", false},
      {u"  \"C:\\Links\\x.url\" ", u"C:\\Links\\x.url", false},
      {u"C:\\Links\\x.url", u"C:\\Links\\x.url", false},
      {u"C:x.url", u"C:x.url", false},
      {u"\\\\server\\share\\x.url", u"\\\\server\\share\\x.url", false},
      {u"\\\\?\\C:\\Links\\x.url", u"\\\\?\\C:\\Links\\x.url", false},
      {u"Links\\x.url", u"Links\\x.url", false},
      {u"my links:x.url", u"my links:x.url", false},
      {u"file:///C:/Links/x.url", u"C:\\Links\\x.url", true},
      {u"\"file:///C:/My%20Links/x.url\"", u"C:\\My Links\\x.url", true},
      {u"FILE:///c:/Links/x.url", u"c:\\Links\\x.url", true},
      {u"file:///C:/\u5B98\u65B9/\u00E9.url", u"C:\\\u5B98\u65B9\\\u00E9.url", true},
      // A URL that names no file comes back as given, to be reported as missing.
      {u"http://example.com/x.url", u"http://example.com/x.url", true},
      {u"x-my.app+1:C:/x.url", u"x-my.app+1:C:/x.url", true},
      {u"\u00E9t\u00E9:x.url", u"\u00E9t\u00E9:x.url", true},
      {u"\"\"", u"", false},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    std::u16string argument(c.argument);
    NormalizeArgument(platform, argument);
    EXPECT_EQ(argument, c.prepared) << U8(c.argument);
    EXPECT_EQ(platform.url_tests > 0, c.asks_shell) << U8(c.argument);
  }
}

TEST(NormalizeArgument, KeepsALongArgumentWhole) {
  FakePlatform platform;
  std::u16string path = u"C:\\" + std::u16string(2997, u'p');
  NormalizeArgument(platform, path);
  EXPECT_EQ(path, u"C:\\" + std::u16string(2997, u'p'));
  std::u16string url = u"  \"file:///C:/" + std::u16string(2989, u'n') + u"\"  ";
  NormalizeArgument(platform, url);
  EXPECT_EQ(url, u"C:\\" + std::u16string(2989, u'n'));
}

// A conversion that reports more characters than the buffer it was handed can hold.
class OverreportingPlatform : public FakePlatform {
 public:
  explicit OverreportingPlatform(std::uint32_t reported) : reported_(reported) {}
  std::int32_t CreatePathFromUrl(const std::u16string&, std::u16string& buffer,
                                 std::uint32_t& length) override {
    capacity = buffer.size();
    buffer.assign(buffer.size(), u'x');
    length = reported_;
    return 0;
  }
  std::size_t capacity = 0;

 private:
  std::uint32_t reported_;
};

TEST(NormalizeArgument, TakesNoMoreCharactersThanTheBufferHolds) {
  for (std::uint32_t reported : {0u, 5u, 260u, 261u, 100000u, 0xFFFFFFFFu}) {
    OverreportingPlatform platform(reported);
    std::u16string argument = u"file:///C:/x.url";
    NormalizeArgument(platform, argument);
    EXPECT_EQ(platform.capacity, 260u);
    EXPECT_EQ(argument, std::u16string(std::min<std::size_t>(reported, 260), u'x')) << reported;
  }
}

TEST(FileExists, IsTrueForFilesOnly) {
  FakePlatform platform;
  platform.AddFile(u"C:\\Links\\a.url", "URL=x");
  platform.folders.insert(u"C:\\Links");
  const std::u16string unicode = U16("C:\\Links\\\xE5\x93\x94\xE5\x93\xA9.url");
  platform.AddFile(unicode, "");
  EXPECT_TRUE(FileExists(platform, u"C:\\Links\\a.url"));
  EXPECT_TRUE(FileExists(platform, u"c:\\links\\A.URL"));
  EXPECT_TRUE(FileExists(platform, unicode));
  EXPECT_FALSE(FileExists(platform, u"C:\\Links"));
  EXPECT_FALSE(FileExists(platform, u"C:\\Links\\b.url"));
  EXPECT_FALSE(FileExists(platform, u""));
}

}  // namespace
}  // namespace linkvane
