// The shortcut readers with the formats other systems write: KDE's link files, Windows'
// Unicode Internet shortcuts and binary web locations, read through the fake platform.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {
namespace {

using testing::FakePlatform;
using testing::U16;
using testing::U8;

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(LINKVANE_FIXTURES_DIR) + "/" + name, std::ios::binary);
  EXPECT_TRUE(in) << name;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string ShortcutUrl(const std::string& content) {
  FakePlatform platform;
  platform.AddFile(u"C:\\links\\link.desktop", content);
  return U8(GetUrlFromShortcut(platform, u"C:\\links\\link.desktop"));
}

std::string WeblocUrl(const std::string& content) {
  FakePlatform platform;
  platform.AddFile(u"C:\\links\\link.webloc", content);
  return U8(GetUrlFromWebloc(platform, u"C:\\links\\link.webloc"));
}

// The smallest binary web location: { "URL": url }, one-byte offsets and references.
std::string BinaryWebloc(const std::string& url) {
  std::string bytes = "bplist00";
  bytes += "\xD1\x01\x02";
  bytes += "\x53URL";
  bytes += url.size() < 15 ? std::string(1, char(0x50 + url.size()))
                           : std::string("\x5F\x10") + char(url.size());
  bytes += url;
  const std::size_t table = bytes.size();
  bytes += char(8);
  bytes += char(11);
  bytes += char(15);
  bytes += std::string(6, '\0') + "\x01\x01";
  bytes += std::string(7, '\0') + "\x03";
  bytes += std::string(8, '\0');
  bytes += std::string(7, '\0') + char(table);
  return bytes;
}

TEST(GetUrlFromShortcut, ReadsKdeLinksAndPlainUrlKeys) {
  struct Case {
    const char* content;
    const char* url;
  };
  const Case cases[] = {
      {"[Desktop Entry]\nType=Link\nURL[$e]=https://kde.org/\n", "https://kde.org/"},
      {"[Desktop Entry]\r\nIcon=text-html\r\nurl[$E]=http://a.example/\r\n", "http://a.example/"},
      // The value as written: KDE would expand it, a browser gets it as it is.
      {"URL[$e]=file:$HOME/notes.html\n", "file:$HOME/notes.html"},
      // In a line with both keys the earlier one counts.
      {"URL[$e]=http://a/?next=URL=b\n", "http://a/?next=URL=b"},
      {"BASEURL=http://a/ URL[$e]=http://b/\n", "http://a/ URL[$e]=http://b/"},
      // The first line with either key wins.
      {"X-URL[$e]=http://first/\nURL=http://second/\n", "http://first/"},
      {"URL=http://first/\nURL[$e]=http://second/\n", "http://first/"},
      {"URL[$e]=\nURL=http://second/\n", ""},
      // Near misses are not URL keys.
      {"URL[$x]=http://a/\nURL[e]=http://b/\nURL[$e] =http://c/\n", ""},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortcutUrl(c.content), c.url) << c.content;
  }
}

TEST(GetUrlFromShortcut, PrefersTheUnicodeSectionsUtf7Url) {
  struct Case {
    const char* content;
    const char* url;
  };
  const Case cases[] = {
      // As Windows writes it: a lossy ANSI copy, then the true URL in UTF-7.
      {"[InternetShortcut]\r\nURL=http://example.com/caf?\r\n"
       "[InternetShortcut.W]\r\nURL=http://example.com/caf+AOk-\r\n",
       "http://example.com/café"},
      {"[{000214A0-0000-0000-C000-000000000046}]\r\nProp3=19,2\r\n"
       "[InternetShortcut]\r\nIDList=\r\nURL=https://\x93\xFA\x96\x7B.?"
       "?/\r\n"
       "[InternetShortcut.W]\r\nURL=https://+ZeVnLA-.+MMYwuTDI-/\r\nIconIndex=0\r\n",
       "https://日本.テスト/"},
      // The header in any case, with spaces around it.
      {"[InternetShortcut]\nURL=http://x/?\n  [internetshortcut.w]  \nURL=http://x/+AOk-\n",
       "http://x/é"},
      // The Unicode section first: the ANSI one does not replace it.
      {"[InternetShortcut.W]\nURL=http://x/+AOk-\n[InternetShortcut]\nURL=http://x/?\n",
       "http://x/é"},
      // Other keys of the section, and their URL-like values, come before its URL line.
      {"[InternetShortcut]\nURL=http://x/?\n[InternetShortcut.W]\nIconFile=c:\\i.ico\n"
       "URL=http://x/+AOk-\n",
       "http://x/é"},
      // A section without a URL line, or a URL line that belongs to the next section, leaves the
      // ANSI copy.
      {"[InternetShortcut]\nURL=http://x/a\n[InternetShortcut.W]\nIconIndex=0\n", "http://x/a"},
      {"[InternetShortcut]\nURL=http://x/a\n[InternetShortcut.W]\n[Other]\nURL=http://y/\n",
       "http://x/a"},
      // Sections with other names are not the Unicode one.
      {"[InternetShortcut]\nURL=http://x/a\n[InternetShortcut.Wide]\nURL=http://y/+AOk-\n",
       "http://x/a"},
      {"[InternetShortcut]\nURL=http://x/a\n[InternetShortcut]\nURL=http://y/\n", "http://x/a"},
      // Without any ANSI URL line.
      {"[InternetShortcut.W]\nURL=+AGg-ttp://z/\n", "http://z/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ShortcutUrl(c.content), c.url) << c.content;
  }
}

TEST(GetUrlFromWebloc, ReadsBinaryListsAndStillXml) {
  struct Case {
    const char* what;
    std::string content;
    const char* url;
  };
  const Case cases[] = {
      {"binary", BinaryWebloc("https://example.com/?a=1&amp;b"), "https://example.com/?a=1&amp;b"},
      {"binary, short", BinaryWebloc("http://a.b/"), "http://a.b/"},
      {"real binary", ReadFixture("studentloans-website.webloc"), "https://www.mint.com/"},
      {"real binary, 141 characters", ReadFixture("idp-Google Drive.webloc"),
       "https://drive.google.com/drive/folders/1-CmvFn1AEhFGxZmUh8Ot2EkNm2DTLaRy?fbclid="
       "IwAR2Y00rLUEcnaGjIAG4-XZ1TeeZoJ3ha_GBbXh_Nc5DOXkt0gprQjAuukl0"},
      {"mangled binary", ReadFixture("studentloans-website-corrupt.webloc"), ""},
      {"binary cut short", BinaryWebloc("http://a.b/").substr(0, 40), ""},
      {"binary magic, then nothing", "bplist00", ""},
      // XML entities are decoded in XML values only.
      {"xml", "<plist><dict><key>URL</key><string>http://a/?x&amp;y</string></dict></plist>",
       "http://a/?x&y"},
      {"xml without a URL key", "<plist><dict><key>Name</key><string>x</string></dict></plist>",
       ""},
      {"neither", "just some text", ""},
      // The XML markers are looked for first, whatever the file starts with.
      {"xml after a binary magic", "bplist00<key>URL</key><string>http://x/</string>", "http://x/"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WeblocUrl(c.content), c.url) << c.what;
  }
}

TEST(GetUrlFromWebloc, RefusesAnOversizedBinaryList) {
  // Padding between the offset table and the trailer leaves a list that reads correctly; its
  // size alone makes it no web location.
  std::string list = BinaryWebloc("http://a.b/");
  const std::string padded = list.substr(0, list.size() - 32) + std::string(1024 * 1024, '\0') +
                             list.substr(list.size() - 32);
  EXPECT_EQ(WeblocUrl(padded), "");
  EXPECT_EQ(WeblocUrl(list), "http://a.b/");
}

TEST(ShortcutSamples, YieldTheirUrls) {
  struct Case {
    const char* file;
    const char* url;
  };
  const Case cases[] = {
      {"binary.webloc", "https://www.example.com/linkvane/binary-webloc"},
      {"kde-link.desktop", "https://kde.org/"},
      {"unicode.url", "https://ja.wikipedia.org/wiki/日本語?lang=日&v=1+2"},
  };
  for (const Case& c : cases) {
    std::ifstream in(std::string(LINKVANE_SOURCE_DIR) + "/samples/" + c.file, std::ios::binary);
    ASSERT_TRUE(in) << c.file;
    FakePlatform platform;
    const std::u16string path = u"C:\\samples\\" + U16(c.file);
    platform.AddFile(path, std::string(std::istreambuf_iterator<char>(in), {}));
    const std::u16string url = EndsWithNoCase(path, u".webloc")
                                   ? GetUrlFromWebloc(platform, path)
                                   : GetUrlFromShortcut(platform, path);
    EXPECT_EQ(U8(url), c.url) << c.file;
  }
}

// A whole run with a browser.dat, so that only the shortcut decides what is started.
class ShortcutRun : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_.AddFile(u"C:\\Linkvane\\browser.dat", "browser.exe %s\r\n");
    platform_.AddFile(u"C:\\Linkvane\\browser.exe", "MZ");
  }

  int Run(const std::u16string& path, const std::string& content) {
    platform_.AddFile(path, content);
    platform_.full_command_line = u"linkvane.exe \"" + path + u"\"";
    return RunProgram(platform_);
  }

  FakePlatform platform_;
};

TEST_F(ShortcutRun, StartsTheBrowserWithEachFormatsUrl) {
  struct Case {
    const char16_t* path;
    std::string content;
    const char* command;
  };
  const Case cases[] = {
      {u"C:\\links\\site.webloc", ReadFixture("lilacstep-test.webloc"),
       "\"C:\\Linkvane\\browser.exe\" http://wordpress.org/extend/plugins/mondokode-zoomer/"},
      {u"C:\\links\\site.desktop", "[Desktop Entry]\nType=Link\nURL[$e]=https://kde.org/\n",
       "\"C:\\Linkvane\\browser.exe\" https://kde.org/"},
      {u"C:\\links\\site.url",
       "[InternetShortcut]\r\nURL=http://x/?\r\n[InternetShortcut.W]\r\nURL=http://x/+AOk-\r\n",
       "\"C:\\Linkvane\\browser.exe\" http://x/é"},
  };
  for (const Case& c : cases) {
    platform_.started.clear();
    EXPECT_EQ(Run(c.path, c.content), kExitStarted) << U8(c.path);
    ASSERT_EQ(platform_.started.size(), 1u) << U8(c.path);
    EXPECT_EQ(U8(platform_.started[0]), c.command);
  }
  EXPECT_TRUE(platform_.shown.empty());
}

TEST_F(ShortcutRun, AsksAboutAMangledBinaryList) {
  platform_.message_answers = {kIdNo};
  EXPECT_EQ(Run(u"C:\\links\\broken.webloc", ReadFixture("studentloans-website-corrupt.webloc")),
            kExitNothingStarted);
  ASSERT_EQ(platform_.shown.size(), 1u);
  EXPECT_EQ(platform_.shown[0].text, messages::NoUrlFound());
  EXPECT_TRUE(platform_.started.empty());
}

}  // namespace
}  // namespace linkvane::Module_Main
