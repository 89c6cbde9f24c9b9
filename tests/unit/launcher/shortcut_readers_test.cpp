#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"
#include "support/fixture_sources.h"
#include "text/case_insensitive.h"
#include "text/spaces.h"

namespace linkvane {
namespace {

using namespace std::string_view_literals;
using Module_Main::CleanUrl;
using Module_Main::GetUrlFromShortcut;
using Module_Main::GetUrlFromWebloc;
using testing::FakePlatform;
using testing::Operation;
using testing::U16;
using testing::U8;

constexpr char16_t kPath[] = u"C:\\Links\\shortcut";

std::u16string ShortcutUrl(std::string_view bytes) {
  FakePlatform platform;
  platform.AddFile(kPath, std::string(bytes));
  return GetUrlFromShortcut(platform, kPath);
}

std::u16string WeblocUrl(std::string_view bytes) {
  FakePlatform platform;
  platform.AddFile(kPath, std::string(bytes));
  return GetUrlFromWebloc(platform, kPath);
}

TEST(GetUrlFromShortcut, TakesTheRestOfTheFirstLineHoldingTheKey) {
  struct Case {
    const char* name;
    std::string_view bytes;
    std::u16string_view url;
  };
  const Case cases[] = {
      {"Internet shortcut", "[InternetShortcut]\r\nURL=http://a.example/\r\nIconIndex=0\r\n",
       u"http://a.example/"},
      {"lower case key", "[InternetShortcut]\nurl=http://a.example/x\n", u"http://a.example/x"},
      {"key inside a line", "Comment=see URL=http://inner.example/ here\nURL=http://a/\n",
       u"http://inner.example/ here"},
      {"first occurrence in the line", "URL=http://a/?next=URL=b\n", u"http://a/?next=URL=b"},
      {"spaces kept", "URL=   http://a.example/  \r\n", u"   http://a.example/  "},
      {"empty value stops the scan", "URL=\r\nURL=http://later.example/\r\n", u""},
      {"no key", "[InternetShortcut]\r\nIconFile=https://a.example/favicon.ico\r\n", u""},
      {"empty file", "", u""},
      {"no final line end", "[Desktop Entry]\nType=Link\nURL=https://a.example/",
       u"https://a.example/"},
      {"desktop entry",
       "[Desktop Entry]\nEncoding=UTF-8\nName=Link\nType=Link\nURL=https://a.example/\nIcon=web\n",
       u"https://a.example/"},
      {"CR only", "[InternetShortcut]\rURL=http://a.example/\rIconIndex=0\r", u"http://a.example/"},
      {"UTF-8", "URL=https://\xE5\xAE\x98.example/\xC3\xA9\n", u"https://\u5B98.example/\u00E9"},
      {"UTF-8 mark", "\xEF\xBB\xBFURL=https://a.example/\n", u"https://a.example/"},
      {"UTF-16LE", "\xFF\xFEU\0R\0L\0=\0h\0:\0\xE9\0\r\0\n\0"sv, u"h:\u00E9"},
      {"ANSI", "URL=http://a.example/caf\xE9\r\n", u"http://a.example/caf\u00E9"},
  };
  for (const Case& c : cases) EXPECT_EQ(ShortcutUrl(c.bytes), c.url) << c.name;
}

// Windows opens the URL key of the [InternetShortcut] section. The first line holding "URL="
// may lie elsewhere: in an Internet Explorer favorite it is often the BASEURL of the page that
// the user was on, a different page from the one the favorite points to.
TEST(GetUrlFromShortcut, TakesTheInternetShortcutSectionsOwnUrlKey) {
  const std::pair<std::string_view, std::u16string_view> cases[] = {
      {"[DEFAULT]\r\nBASEURL=http://b/\r\n[InternetShortcut]\r\nURL=http://a/\r\n", u"http://a/"},
      {"BASEURL=http://b/\n \t[internetSHORTCUT] \t\nIconFile=x\n\t url \t=\t http://a/\n",
       u"\t http://a/"},
      {"[InternetShortcut]\nBASEURL=http://b/\nURL=http://a/\nURL=http://c/\n", u"http://a/"},
      {"BASEURL=http://b/\n[InternetShortcut]\nURL=\n", u""},
      // No URL key in the first such section: the first line holding one.
      {"BASEURL=http://b/\n[InternetShortcut]\nIconIndex=1\n [x]\nURL=http://c/\n", u"http://b/"},
      {"BASEURL=http://b/\n[InternetShortcut]\n[InternetShortcut]\nURL=http://c/\n", u"http://b/"},
      {"BASEURL=http://b/\n[InternetShortcut]\nURL[$e]=http://k/\nU RL=http://c/\n", u"http://b/"},
      {"[InternetShortcut]URL=http://a/\r\nURL=http://c/\r\n", u"http://a/"},
  };
  for (const auto& [bytes, url] : cases) EXPECT_EQ(ShortcutUrl(bytes), url) << bytes;
}

TEST(GetUrlFromWebloc, TakesTheStringAfterTheUrlKey) {
  struct Case {
    const char* name;
    std::string_view bytes;
    std::u16string_view url;
  };
  const Case cases[] = {
      {"property list",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
       "\t<key>URL</key>\n\t<string>https://a.example/</string>\n</dict>\n</plist>\n",
       u"https://a.example/"},
      {"markers in any case", "<KEY>url</KEY><String>http://a/</STRING>", u"http://a/"},
      {"a string before the key is not the value",
       "<string>http://wrong/</string><key>URL</key><string>http://right/</string>",
       u"http://right/"},
      {"what lies between key and string is not examined",
       "<key>URL</key><integer>1</integer><string>http://a/</string>", u"http://a/"},
      {"line breaks and tabs kept", "<key>URL</key><string>\n\t\thttp://a/\n\t</string>",
       u"\n\t\thttp://a/\n\t"},
      {"empty string", "<key>URL</key><string></string>", u""},
      {"no key", "<plist><dict><key>Name</key><string>x</string></dict></plist>", u""},
      {"key without a string after it", "<string>http://a/</string><key>URL</key>", u""},
      {"string never closed", "<key>URL</key><string>http://a/", u""},
      {"empty file", "", u""},
      {"garbled binary list", "bplist00\xD1\x01\x02SURL_\x10\x03http", u""},
      {"UTF-8", "<key>URL</key><string>https://a.example/\xE5\xAE\x98</string>",
       u"https://a.example/\u5B98"},
  };
  for (const Case& c : cases) EXPECT_EQ(WeblocUrl(c.bytes), c.url) << c.name;
}

TEST(GetUrlFromWebloc, DecodesXmlEntitiesInTheValue) {
  EXPECT_EQ(WeblocUrl("<key>URL</key><string>https://a.example/?x=1&amp;y=2&amp;z=&#51;&#x34;"
                      "</string>"),
            u"https://a.example/?x=1&y=2&z=34");
  EXPECT_EQ(WeblocUrl("<key>URL</key><string>https://a/?q=&lt;b&gt;&unknown;</string>"),
            u"https://a/?q=<b>&unknown;");
}

TEST(ShortcutReaders, RaiseWhenTheFileCannotBeRead) {
  for (auto reader : {GetUrlFromShortcut, GetUrlFromWebloc}) {
    FakePlatform missing;
    EXPECT_THROW(reader(missing, kPath), PlatformError);
    for (Operation failing : {Operation::kOpenFile, Operation::kReadFile}) {
      FakePlatform platform;
      platform.AddFile(kPath, "URL=http://a/\n<key>URL</key><string>http://a/</string>");
      platform.Fail(failing, 32, u"In use.");
      try {
        reader(platform, kPath);
        ADD_FAILURE() << "no error raised";
      } catch (const PlatformError& error) {
        EXPECT_EQ(error.Number(), 32);
      }
    }
  }
}

TEST(ShortcutReaders, ReadALongFileWithTheUrlAtItsEnd) {
  std::string padding;
  while (padding.size() < 300 * 1024) padding += "Comment=" + std::string(97, 'c') + "\r\n";
  EXPECT_EQ(ShortcutUrl(padding + "URL=http://last.example/\r\n"), u"http://last.example/");
  EXPECT_EQ(WeblocUrl("<plist>" + padding + "<key>URL</key><string>http://last/</string>"),
            u"http://last/");
}

std::string ReadFixture(const std::string& path) {
#ifdef _WIN32
  // The names are UTF-8 here, and some lie outside the ANSI code page.
  const std::u16string wide = U16(path);
  std::FILE* file = _wfopen(reinterpret_cast<const wchar_t*>(wide.c_str()), L"rb");
#else
  std::FILE* file = std::fopen(path.c_str(), "rb");
#endif
  std::string bytes;
  if (file == nullptr) {
    ADD_FAILURE() << "cannot open " << path;
    return bytes;
  }
  char chunk[4096];
  for (std::size_t got; (got = std::fread(chunk, 1, sizeof chunk, file)) > 0;) {
    bytes.append(chunk, got);
  }
  std::fclose(file);
  return bytes;
}

// Every file of the shared fixture folders gives the URL its folder's SOURCES.md expects.
TEST(ShortcutReaders, ReadTheRealWorldFiles) {
  for (const std::string folder : {LINKVANE_FIXTURES_DIR, LINKVANE_CORPUS_DIR}) {
    const auto rows = testing::ParseFixtureSources(ReadFixture(folder + "/SOURCES.md"));
    std::set<std::string> listed;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      const std::u8string name = entry.path().filename().u8string();
      listed.emplace(name.begin(), name.end());
    }
    listed.erase("SOURCES.md");
    std::set<std::string> tabled;
    for (const testing::FixtureSource& row : rows) {
      SCOPED_TRACE(row.file);
      tabled.insert(row.file);
      FakePlatform platform;
      const std::u16string path = u"C:\\Fixtures\\" + U16(row.file);
      platform.AddFile(path, ReadFixture(folder + "/" + row.file));
      const std::u16string url = EndsWithNoCase(path, u".webloc")
                                     ? GetUrlFromWebloc(platform, path)
                                     : GetUrlFromShortcut(platform, path);
      EXPECT_EQ(U8(TrimSpaces(CleanUrl(url))), row.url);
    }
    EXPECT_EQ(tabled, listed) << folder;
  }
}

}  // namespace
}  // namespace linkvane
