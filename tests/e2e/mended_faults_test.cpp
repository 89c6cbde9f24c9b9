// The faults that the program mends, end to end: text encodings of browser.dat and of the
// shortcut files, line ends, URLs that try to add switches to the browser's command line, and
// XML entities in .webloc values.

#include <string>
#include <vector>

#include "e2e_support.h"

namespace linkvane::e2e {
namespace {

using Arguments = std::vector<std::wstring>;

const char kUrlFile[] = "[InternetShortcut]\r\nURL=https://example.com/encoded\r\n";

// The text in the system's ANSI code page, when every character has a place there.
std::optional<std::string> AnsiBytes(const std::wstring& text) {
  BOOL lost = FALSE;
  const int size = ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(),
                                         static_cast<int>(text.size()), nullptr, 0, nullptr, &lost);
  if (size <= 0 || lost) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  ::WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), static_cast<int>(text.size()),
                        bytes.data(), size, nullptr, &lost);
  return bytes;
}

bool IsValidUtf8(const std::string& bytes) {
  return ::MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                               static_cast<int>(bytes.size()), nullptr, 0) > 0;
}

// --- browser.dat in the encodings and line ends that editors write.

struct BrowserDatCase {
  const char* name;
  // The file's bytes, made from the template line (the stand-in's quoted path and "%s").
  std::string (*bytes)(const std::wstring& line);
};

class BrowserDatEncodingTest : public LinkvaneTest,
                               public ::testing::WithParamInterface<BrowserDatCase> {};

TEST_P(BrowserDatEncodingTest, GivesTheTemplate) {
  const std::wstring line = FromUtf8(StandinTemplate("%s"));
  WriteBrowserDat(GetParam().bytes(line));
  const std::wstring shortcut = WriteFile(L"a.url", kUrlFile);
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{L"https://example.com/encoded"});
}

const BrowserDatCase kBrowserDats[] = {
    {"Utf8WithByteOrderMark",
     [](const std::wstring& line) { return "\xEF\xBB\xBF" + Utf8(line) + "\r\n"; }},
    {"Utf16LittleEndianWithByteOrderMark",
     [](const std::wstring& line) {
       return std::string("\xFF\xFE") + Utf16Bytes(line + L"\r\nsecond line\r\n", false);
     }},
    {"Utf16BigEndianWithByteOrderMark",
     [](const std::wstring& line) {
       return std::string("\xFE\xFF") + Utf16Bytes(line + L"\r\nsecond line\r\n", true);
     }},
    {"LineFeedsOnly",
     [](const std::wstring& line) { return Utf8(line) + "\n--second-line --not-this\n"; }},
    {"CarriageReturnsOnly",
     [](const std::wstring& line) { return Utf8(line) + "\r--second-line --not-this\r"; }},
    {"NoLineEnd", [](const std::wstring& line) { return Utf8(line); }},
};

INSTANTIATE_TEST_SUITE_P(Encodings, BrowserDatEncodingTest, ::testing::ValuesIn(kBrowserDats),
                         CaseName());

// A browser in a folder whose name is not ASCII: its path in browser.dat must survive.
class NonAsciiBrowserPathTest : public LinkvaneTest {
 protected:
  std::wstring CopyStandinTo(const std::wstring& sub_folder) {
    const std::wstring target = InFolder(sub_folder + L"\\standin.exe");
    EXPECT_TRUE(::CreateDirectoryW(InFolder(sub_folder).c_str(), nullptr));
    EXPECT_TRUE(::CopyFileW(StandinExe().c_str(), target.c_str(), FALSE));
    return target;
  }
};

TEST_F(NonAsciiBrowserPathTest, Utf8WithoutByteOrderMark) {
  const std::wstring browser = CopyStandinTo(L"浏览器 ürün");
  WriteBrowserDat(Utf8(Quoted(browser) + L" %s\n"));
  const std::wstring shortcut = WriteFile(L"a.url", kUrlFile);
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{L"https://example.com/encoded"});
}

TEST_F(NonAsciiBrowserPathTest, AnsiCodePage) {
  const std::wstring sub_folder = L"navigateur-\u00e9t\u00e9";
  const std::optional<std::string> ansi = AnsiBytes(Quoted(InFolder(sub_folder)));
  if (!ansi || IsValidUtf8(*ansi)) GTEST_SKIP() << "the ANSI code page cannot tell this apart";
  const std::wstring browser = CopyStandinTo(sub_folder);
  WriteBrowserDat(*AnsiBytes(Quoted(browser) + L" %s\r\n"));
  const std::wstring shortcut = WriteFile(L"a.url", kUrlFile);
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{L"https://example.com/encoded"});
}

// --- Shortcut files in UTF-8, UTF-16 and ANSI.

struct ShortcutEncodingCase {
  const char* name;
  const wchar_t* file;
  std::string (*bytes)();
  const wchar_t* url;
};

class ShortcutEncodingTest : public LinkvaneTest,
                             public ::testing::WithParamInterface<ShortcutEncodingCase> {};

TEST_P(ShortcutEncodingTest, ReadsTheUrlUnchanged) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = WriteFile(GetParam().file, GetParam().bytes());
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{GetParam().url});
}

const ShortcutEncodingCase kShortcutEncodings[] = {
    {"Utf8Desktop", L"a.desktop",
     [] {
       return Utf8(
           L"[Desktop Entry]\nType=Link\nName=Caf\u00e9 \u4f8b\nURL=https://例え.example/"
           L"caf\u00e9/\u8def\u5f84?q=\u00fc\n");
     },
     L"https://例え.example/caf\u00e9/\u8def\u5f84?q=\u00fc"},
    {"Utf8Webloc", L"a.webloc",
     [] {
       return Utf8(
           L"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict>"
           L"<key>URL</key><string>https://example.com/\u00fcber/\u6771\u4eac</string>"
           L"</dict></plist>\n");
     },
     L"https://example.com/\u00fcber/\u6771\u4eac"},
    {"Utf8WithByteOrderMarkUrl", L"a.url",
     [] {
       return "\xEF\xBB\xBF" +
              Utf8(L"[InternetShortcut]\r\nURL=https://example.com/\u00e9\u00e8\r\n");
     },
     L"https://example.com/\u00e9\u00e8"},
    {"Utf16LittleEndianUrl", L"a.url",
     [] {
       return std::string("\xFF\xFE") +
              Utf16Bytes(L"[InternetShortcut]\r\nURL=https://example.com/\u0436\r\n", false);
     },
     L"https://example.com/\u0436"},
    {"Utf16BigEndianWebloc", L"a.webloc",
     [] {
       return std::string("\xFE\xFF") +
              Utf16Bytes(
                  L"<plist><dict><key>URL</key><string>https://example.com/\u00df"
                  L"</string></dict></plist>",
                  true);
     },
     L"https://example.com/\u00df"},
    {"Utf16LittleEndianDesktopWithLineFeeds", L"a.desktop",
     [] {
       // In UTF-16 the line feed of U+0A0A and the carriage return inside U+0D0D are bytes of
       // characters, not line ends.
       return std::string("\xFF\xFE") +
              Utf16Bytes(L"[Desktop Entry]\nName=\u0a0a\u0d0d\nURL=https://example.com/lf\n",
                         false);
     },
     L"https://example.com/lf"},
};

INSTANTIATE_TEST_SUITE_P(Encodings, ShortcutEncodingTest, ::testing::ValuesIn(kShortcutEncodings),
                         CaseName());

TEST_F(LinkvaneTest, AnsiShortcutIsReadInTheAnsiCodePage) {
  const std::wstring url = L"https://example.com/caf\u00e9-na\u00efve";
  const std::optional<std::string> ansi = AnsiBytes(L"[InternetShortcut]\r\nURL=" + url + L"\r\n");
  if (!ansi || IsValidUtf8(*ansi)) GTEST_SKIP() << "the ANSI code page cannot tell this apart";
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = WriteFile(L"ansi.url", *ansi);
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{url});
}

// --- A URL cannot add arguments to the browser's command line.

struct InjectionCase {
  const char* name;
  const char* url_line;  // the .url file's URL line, after "URL="
  const char* rest;      // browser.dat after the stand-in's quoted path
  bool has_spaces;       // the URL has inner spaces: the test answers Yes to that question
  Arguments expected;
  bool no_web_page = false;  // the test answers Yes to the question that it is no web page
};

class InjectionTest : public LinkvaneTest, public ::testing::WithParamInterface<InjectionCase> {};

TEST_P(InjectionTest, BrowserGetsOnlyTheUrl) {
  const InjectionCase& injection = GetParam();
  WriteBrowserDat(StandinTemplate(injection.rest));
  const std::wstring shortcut = WriteFile(
      L"attack.url", std::string("[InternetShortcut]\r\nURL=") + injection.url_line + "\r\n");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  if (injection.has_spaces) run->AnswerBox(UrlHasSpacesBox(), IDYES);
  if (injection.no_web_page) {
    const std::wstring url = FromUtf8(injection.url_line);
    run->AnswerBox({L"This shortcut does not lead to a web page:\r\n" +
                        url.substr(url.find_first_not_of(L' ')) + L"\r\nContinue anyway?",
                    {IDYES, IDNO},
                    IDNO,
                    BoxIcon::kWarning},
                   IDYES);
  }
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), injection.expected);
}

const InjectionCase kInjections[] = {
    {"QuoteAndSpaceInAQuotedTemplate",
     "https://evil.example/\" --gpu-launcher=\"calc.exe",
     "\"%s\"",
     true,
     {L"https://evil.example/%22%20--gpu-launcher=%22calc.exe"}},
    {"QuoteAndTabInAQuotedTemplate",
     "https://evil.example/\"\t--gpu-launcher=calc.exe",
     "\"%s\"",
     false,
     {L"https://evil.example/%22--gpu-launcher=calc.exe"}},
    {"SpacesInAnUnquotedTemplate",
     "https://evil.example/ --gpu-launcher=calc.exe",
     "--single-argument %s",
     true,
     {L"--single-argument", L"https://evil.example/%20--gpu-launcher=calc.exe"}},
    {"LeadingDash", "--gpu-launcher=calc.exe", "%s", false, {L"%2D-gpu-launcher=calc.exe"}, true},
    {"LeadingDashAfterSpaces", "   -incognito", "%s", false, {L"%2Dincognito"}, true},
    {"LeadingSlash", "/prefetch:1", "%s", false, {L"%2Fprefetch:1"}, true},
    {"OneTrailingBackslashInAQuotedTemplate",
     "https://example.com/dir\\",
     "\"%s\" --after",
     false,
     {L"https://example.com/dir\\", L"--after"}},
    {"TwoTrailingBackslashesInAQuotedTemplate",
     "https://example.com/dir\\\\",
     "\"%S\" --after",
     false,
     {L"https://example.com/dir\\\\", L"--after"}},
    {"TrailingBackslashInAnUnquotedTemplate",
     "https://example.com/dir\\",
     "%s --after",
     false,
     {L"https://example.com/dir\\", L"--after"}},
    {"InnerBackslashesStay",
     "https://example.com/a\\\"b",
     "\"%s\"",
     false,
     {L"https://example.com/a\\%22b"}},
    {"ControlCharacters",
     "https://example.com/a\x01z\x1F\x7F",
     "%s",
     false,
     {L"https://example.com/a%01z%1F%7F"}},
    {"WellFormedUrlUnchanged",
     "https://user@example.com:8443/p/a-b_c~d?x=1&y=%2F#frag",
     "\"%s\"",
     false,
     {L"https://user@example.com:8443/p/a-b_c~d?x=1&y=%2F#frag"}},
};

INSTANTIATE_TEST_SUITE_P(Urls, InjectionTest, ::testing::ValuesIn(kInjections), CaseName());

TEST_F(LinkvaneTest, IndentedMultiLineWeblocValueIsNoUrlWithSpaces) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut =
      WriteFile(L"a.webloc",
                "<plist version=\"1.0\">\n<dict>\n\t<key>URL</key>\n\t<string>\n\t\t"
                "https://example.com/indented\r\n\t</string>\n</dict>\n</plist>\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{L"https://example.com/indented"});
}

// --- The URL and the template are expanded apart; what the environment brings is asked about.

struct ExpansionCase {
  const char* name;
  const char* url_line;  // after "URL="
  const char* rest;      // browser.dat after the stand-in's quoted path
  bool has_spaces;       // answered Yes, as the question about the environment is
  Arguments (*expected)();
};

std::wstring Variable(const wchar_t* name) {
  std::wstring value(32767, L'\0');
  value.resize(::GetEnvironmentVariableW(name, value.data(), 32767));
  return value;
}

class ExpansionTest : public LinkvaneTest, public ::testing::WithParamInterface<ExpansionCase> {
 protected:
  ScopedEnvironment quote_{L"LV_Q", L"a\" --evil"};
  ScopedEnvironment backslash_{L"LV_BS", L"dir\\"};
  ScopedEnvironment data_{L"LV_DATA", L"d"};
};

TEST_P(ExpansionTest, BrowserGetsTheExpandedUrlAsOneArgument) {
  const ExpansionCase& expansion = GetParam();
  WriteBrowserDat(StandinTemplate(expansion.rest));
  const std::wstring shortcut =
      WriteFile(L"a.url", std::string("[InternetShortcut]\r\nURL=") + expansion.url_line + "\r\n");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  if (expansion.has_spaces) run->AnswerBox(UrlHasSpacesBox(), IDYES);
  HWND window = nullptr;
  const std::optional<MessageBoxContent> box = run->WaitForMessageBox(&window);
  ASSERT_TRUE(box);
  EXPECT_EQ(box->text.rfind(L"This shortcut puts values from your computer", 0), 0u)
      << Utf8(box->text);
  Dismiss(window, IDYES);
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), expansion.expected());
}

const ExpansionCase kExpansions[] = {
    {"QuoteInAValue", "https://ex.example/%LV_Q%", "\"%s\"", true,
     [] { return Arguments{L"https://ex.example/a%22%20--evil"}; }},
    {"BlankInAValueInAnUnquotedTemplate", "https://ex.example/%ProgramFiles%", "%s", true,
     [] {
       std::wstring folder = Variable(L"ProgramFiles");
       for (std::size_t at; (at = folder.find(L' ')) != std::wstring::npos;) {
         folder.replace(at, 1, L"%20");
       }
       return Arguments{L"https://ex.example/" + folder};
     }},
    {"BackslashEndingAValueBeforeTheTemplatesQuote", "https://ex.example/%LV_BS%", "\"%s\" --after",
     false,
     [] {
       return Arguments{L"https://ex.example/dir\\", L"--after"};
     }},
    {"UserName", "https://evil.example/?u=%USERNAME%", "%s", false,
     [] { return Arguments{L"https://evil.example/?u=" + Variable(L"USERNAME")}; }},
};

INSTANTIATE_TEST_SUITE_P(Urls, ExpansionTest, ::testing::ValuesIn(kExpansions), CaseName());

TEST_F(LinkvaneTest, TheUrlsPercentSignsPairWithNothingOfTheTemplate) {
  ScopedEnvironment data(L"LV_DATA", L"d");
  WriteBrowserDat(StandinTemplate("\"%s\" --data=%LV_DATA%"));
  const std::wstring shortcut =
      WriteFile(L"a.url", "[InternetShortcut]\r\nURL=https://ex.example/a%2Fb\r\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)),
            (Arguments{L"https://ex.example/a%2Fb", L"--data=d"}));
}

TEST_F(LinkvaneTest, NoToAUrlWithTheUsersNameStartsNothing) {
  ASSERT_FALSE(Variable(L"USERNAME").empty());
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut =
      WriteFile(L"a.url", "[InternetShortcut]\r\nURL=https://evil.example/?u=%USERNAME%\r\n");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  run->AnswerBox(EnvironmentInUrlBox(L"https://evil.example/?u=" + Variable(L"USERNAME")), IDNO);
  EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
  EXPECT_TRUE(NothingStarted());
}

TEST_F(LinkvaneTest, AUrlTooLongToExpandStartsNothing) {
  WriteBrowserDat(StandinTemplate("\"%s\""));
  const std::string url = "https://ex.example/" + std::string(33000, 'a');
  const std::wstring shortcut = WriteFile(L"a.url", "[InternetShortcut]\r\nURL=" + url + "\r\n");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  HWND window = nullptr;
  const std::optional<MessageBoxContent> box = run->WaitForMessageBox(&window);
  ASSERT_TRUE(box);
  const std::wstring head = L"Sorry, Windows shell could not execute the defined command:\r\n" +
                            (FromUtf8(StandinTemplate("\"")) + FromUtf8(url)).substr(0, 1024) +
                            L"...\r\n\r\nError code = 206 (";
  EXPECT_EQ(box->text.substr(0, head.size()), head);
  Dismiss(window, IDOK);
  EXPECT_EQ(run->WaitForExit(), kExitStartFailed);
  EXPECT_TRUE(NothingStarted());
}

TEST_F(LinkvaneTest, ABatchFileOrAScriptHostIsNeverGivenAUrl) {
  WriteFile(L"open.cmd", "@echo %1 > got.txt\r\n");
  const std::wstring shortcut =
      WriteFile(L"a.url", "[InternetShortcut]\r\nURL=https://ex.example/?a=1&echo.>pwned.txt\r\n");
  for (const std::wstring& program :
       {Quoted(InFolder(L"open.cmd")), std::wstring(L"powershell.exe")}) {
    WriteBrowserDat(Utf8(program) + " %s\r\n");
    std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
    run->AnswerBox(CannotExecuteBox(program + L" https://ex.example/?a=1&echo.>pwned.txt",
                                    L"50 (A batch file or cmd.exe cannot be given a URL safely; "
                                    L"name the browser's program instead.)"),
                   IDOK);
    EXPECT_EQ(run->WaitForExit(), kExitStartFailed);
  }
  EXPECT_FALSE(PathExists(InFolder(L"got.txt")));
  EXPECT_FALSE(PathExists(InFolder(L"pwned.txt")));
}

// --- XML entities in .webloc values are decoded.

TEST_F(LinkvaneTest, WeblocEntitiesAreDecoded) {
  WriteBrowserDat(StandinTemplate("\"%s\""));
  const std::wstring shortcut = WriteFile(
      L"entities.webloc",
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\"><dict><key>URL</key>"
      "<string>https://example.com/?a=1&amp;b=2&#38;c=&#x33;&amp;d=&lt;&gt;&apos;&amp;e=&nbsp;"
      "&amp;f=&#xE9;</string></dict></plist>\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)),
            Arguments{L"https://example.com/?a=1&b=2&c=3&d=<>'&e=&nbsp;&f=\u00e9"});
}

TEST_F(LinkvaneTest, WeblocQuoteEntityIsDecodedAndEncoded) {
  WriteBrowserDat(StandinTemplate("\"%s\""));
  const std::wstring shortcut = WriteFile(
      L"quote.webloc",
      "<plist><dict><key>URL</key><string>https://example.com/&quot;x</string></dict></plist>");
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{L"https://example.com/%22x"});
}

}  // namespace
}  // namespace linkvane::e2e
