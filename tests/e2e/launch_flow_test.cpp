// The launch flow end to end: the argument's shapes, the three shortcut formats, the
// template, and every message the run can show, on the real Win32 API.

#include <string>
#include <vector>

#include "e2e_support.h"

namespace linkvane::e2e {
namespace {

using Arguments = std::vector<std::wstring>;

// Replaces "<dir>" by the test's folder and "<url-dir>" by the same as in a file URL.
std::wstring InTestFolder(std::wstring text, const std::wstring& folder) {
  const std::wstring url_folder = FileUrl(folder).substr(8);  // less "file:///"
  for (const auto& [token, value] :
       {std::pair<std::wstring, std::wstring>{L"<dir>", folder}, {L"<url-dir>", url_folder}}) {
    for (std::size_t at = text.find(token); at != std::wstring::npos;
         at = text.find(token, at + value.size())) {
      text.replace(at, token.size(), value);
    }
  }
  return text;
}

const char kUrlFile[] = "[InternetShortcut]\r\nURL=https://example.com/shapes\r\n";

// --- The argument's shapes: every one of them reaches the shortcut file.

struct ShapeCase {
  const char* name;
  const wchar_t* file;  // created in the test's folder
  const wchar_t* tail;  // the command line after the program's quoted name
};

class ArgumentShapeTest : public LinkvaneTest, public ::testing::WithParamInterface<ShapeCase> {};

TEST_P(ArgumentShapeTest, FindsTheShortcutFile) {
  const ShapeCase& shape = GetParam();
  WriteBrowserDat(StandinTemplate());
  WriteFile(shape.file, kUrlFile);
  std::unique_ptr<LinkvaneRun> run = Launch(InTestFolder(shape.tail, folder()));
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{L"https://example.com/shapes"});
}

const ShapeCase kShapes[] = {
    {"Bare", L"a.url", L" <dir>\\a.url"},
    {"BareWithSpacesInThePath", L"with space\\a b.url", L" <dir>\\with space\\a b.url"},
    {"Quoted", L"a.url", L" \"<dir>\\a.url\""},
    {"SpacesAroundTheQuotes", L"a.url", L"    \"<dir>\\a.url\"   "},
    {"TabAfterTheProgramName", L"a.url", L"\t\"<dir>\\a.url\""},
    {"OpeningQuoteOnly", L"a.url", L" \"<dir>\\a.url"},
    {"ClosingQuoteOnly", L"a.url", L" <dir>\\a.url\""},
    {"FileUrl", L"a.url", L" file:///<url-dir>/a.url"},
    {"QuotedFileUrl", L"a.url", L" \"file:///<url-dir>/a.url\""},
    {"FileUrlWithEncodedSpace", L"with space\\a.url", L" file:///<url-dir>/with%20space/a.url"},
    {"NonAnsiPath", L"链接 テスト\\官方网站.url", L" \"<dir>\\链接 テスト\\官方网站.url\""},
    {"NonAnsiFileUrl", L"链接\\官方网站.url", L" file:///<url-dir>/链接/官方网站.url"},
    {"ForwardSlashesInTheLastPart", L"sub\\a.url", L" \"<dir>\\sub/a.url\""},
};

INSTANTIATE_TEST_SUITE_P(Shapes, ArgumentShapeTest, ::testing::ValuesIn(kShapes), CaseName());

TEST_F(LinkvaneTest, ProgramNameWithoutQuotesIsSkipped) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = WriteFile(L"a.url", kUrlFile);
  // The test's folder holds no blank, so the program's name needs no quotes.
  LinkvaneRun run(exe(), exe() + L" " + shortcut, folder(), job());
  ASSERT_EQ(run.WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{L"https://example.com/shapes"});
}

// --- Message M1: the prepared argument names no file.

struct NotFoundCase {
  const char* name;
  const wchar_t* tail;
  const wchar_t* shown;  // the path between the quotes of the message
};

class FileNotFoundTest : public LinkvaneTest, public ::testing::WithParamInterface<NotFoundCase> {};

TEST_P(FileNotFoundTest, ShowsThePreparedArgument) {
  WriteBrowserDat(StandinTemplate());
  WriteFile(L"present.url", kUrlFile);
  ASSERT_TRUE(::CreateDirectoryW(InFolder(L"folder.url").c_str(), nullptr));
  std::unique_ptr<LinkvaneRun> run = Launch(InTestFolder(GetParam().tail, folder()));
  run->AnswerBox(FileNotFoundBox(InTestFolder(GetParam().shown, folder())), IDOK);
  EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
  EXPECT_TRUE(NothingStarted());
}

const NotFoundCase kNotFound[] = {
    {"MissingFile", L" \"<dir>\\missing.url\"", L"<dir>\\missing.url"},
    {"Folder", L" \"<dir>\\folder.url\"", L"<dir>\\folder.url"},
    {"SpacesInsideTheQuotesStay", L"  \"  <dir>\\present.url \"  ", L"  <dir>\\present.url "},
    {"OnlyTwoQuotes", L" \"\"", L""},
    {"OnlyOneQuote", L" \"", L""},
    {"MissingFileAsFileUrl", L" file:///<url-dir>/missing.url", L"<dir>\\missing.url"},
    {"WebUrlInsteadOfAFile", L" https://example.com/a.url", L"https://example.com/a.url"},
};

INSTANTIATE_TEST_SUITE_P(Arguments, FileNotFoundTest, ::testing::ValuesIn(kNotFound), CaseName());

// --- The reader follows the file name's ending.

struct FormatCase {
  const char* name;
  const wchar_t* file;
  const char* content;
  const wchar_t* url;
};

// Both readers find a different URL in this text: the line scan the first "URL=" line, the
// property-list scan the string after the URL key.
const char kBothLayouts[] =
    "URL=https://lines.example/\n"
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<plist version=\"1.0\"><dict><key>URL</key><string>https://plist.example/</string></dict>"
    "</plist>\n";

const char kWebloc[] =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<!DOCTYPE plist PUBLIC \"-//Apple//DTD PLIST 1.0//EN\" "
    "\"http://www.apple.com/DTDs/PropertyList-1.0.dtd\">\n"
    "<plist "
    "version=\"1.0\">\n<dict>\n\t<key>URL</key>\n\t<string>https://example.com/webloc</string>\n"
    "</dict>\n</plist>\n";

class FormatTest : public LinkvaneTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(FormatTest, ReadsTheUrl) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = WriteFile(GetParam().file, GetParam().content);
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), Arguments{GetParam().url});
}

const FormatCase kFormats[] = {
    {"InternetShortcut", L"a.url", "[InternetShortcut]\r\nURL=https://example.com/url\r\n",
     L"https://example.com/url"},
    {"DesktopEntry", L"a.desktop",
     "[Desktop Entry]\nVersion=1.0\nType=Link\nName=Example\nURL=https://example.com/desktop\n"
     "Icon=text-html\n",
     L"https://example.com/desktop"},
    {"XmlWebloc", L"a.webloc", kWebloc, L"https://example.com/webloc"},
    {"WeblocEnding", L"both.webloc", kBothLayouts, L"https://plist.example/"},
    {"WeblocEndingInCapitals", L"both.WEBLOC", kBothLayouts, L"https://plist.example/"},
    {"WeblocFollowedByAnotherEnding", L"both.webloc.txt", kBothLayouts, L"https://lines.example/"},
    {"UrlEnding", L"both.url", kBothLayouts, L"https://lines.example/"},
    {"NoEnding", L"both", kBothLayouts, L"https://lines.example/"},
    // Windows opens the section's own URL, not the BASEURL of the page the user was on.
    {"SectionsOwnUrlOverBaseUrl", L"base.url",
     "[DEFAULT]\r\nBASEURL=https://base.example/\r\n[InternetShortcut]\r\n"
     "URL=https://other.example/\r\n",
     L"https://other.example/"},
    {"MarkerInLowerCase", L"lower.url", "[InternetShortcut]\r\nurl=https://example.com/lower\r\n",
     L"https://example.com/lower"},
    {"SpacesAroundTheUrlAreTrimmed", L"spaced.url",
     "[InternetShortcut]\r\nURL=   https://example.com/spaced   \r\n",
     L"https://example.com/spaced"},
    {"LastLineWithoutLineEnd", L"end.desktop", "[Desktop Entry]\nURL=https://example.com/end",
     L"https://example.com/end"},
    {"KdeLinkWithExpansionMarker", L"kde.desktop",
     "[Desktop Entry]\nType=Link\nURL[$e]=https://example.com/kde\n", L"https://example.com/kde"},
    // Windows keeps a lossy ANSI copy and the true URL, in UTF-7, in the .W section.
    {"UnicodeSectionInUtf7", L"wide.url",
     "[InternetShortcut]\r\nURL=https://example.com/?\r\n[InternetShortcut.W]\r\n"
     "URL=https://example.com/+ZeU-\r\n",
     L"https://example.com/\u65e5"},
};

INSTANTIATE_TEST_SUITE_P(Formats, FormatTest, ::testing::ValuesIn(kFormats), CaseName());

// --- The template: every "%s" in either case, or none.

struct TemplateCase {
  const char* name;
  const char* rest;  // browser.dat after the stand-in's quoted path
  Arguments expected;
};

class TemplateTest : public LinkvaneTest, public ::testing::WithParamInterface<TemplateCase> {};

TEST_P(TemplateTest, PutsTheUrlInPlace) {
  WriteBrowserDat(StandinTemplate(GetParam().rest));
  const std::wstring shortcut =
      WriteFile(L"a.url", "[InternetShortcut]\r\nURL=https://example.com/t\r\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)), GetParam().expected);
}

const TemplateCase kTemplates[] = {
    {"LowerCasePlaceholder", "%s", {L"https://example.com/t"}},
    {"CapitalPlaceholder", "%S", {L"https://example.com/t"}},
    {"TwoPlaceholders",
     "%s --again \"%S\"",
     {L"https://example.com/t", L"--again", L"https://example.com/t"}},
    {"NoPlaceholder", "--no-url", {L"--no-url"}},
    {"PlaceholderInsideAnOption",
     "--new-window --app=%s",
     {L"--new-window", L"--app=https://example.com/t"}},
    {"RestOfTheFileIgnored", "\"%s\"\r\nsecond line --not-this\r\n", {L"https://example.com/t"}},
};

INSTANTIATE_TEST_SUITE_P(Templates, TemplateTest, ::testing::ValuesIn(kTemplates), CaseName());

// --- Environment references in the template and in the URL are expanded.

TEST_F(LinkvaneTest, ExpandsAVariableInBrowserDat) {
  ScopedEnvironment browser(L"LINKVANE_E2E_BROWSER", StandinExe());
  WriteBrowserDat("\"%LINKVANE_E2E_BROWSER%\" --from-variable %s");
  const std::wstring shortcut = WriteFile(L"a.url", kUrlFile);
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)),
            (Arguments{L"--from-variable", L"https://example.com/shapes"}));
}

// The URL's references are expanded too, but only after a question (they could send anything
// of the computer's to the site).
TEST_F(LinkvaneTest, ExpandsVariablesInTheUrlAfterAskingAndLeavesOtherPercentSignsAlone) {
  ScopedEnvironment word(L"LINKVANE_E2E_WORD", L"expanded");
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut =
      WriteFile(L"a.url",
                "[InternetShortcut]\r\nURL=https://example.com/%LINKVANE_E2E_WORD%/a%2Fb/"
                "%LINKVANE_E2E_UNDEFINED%/\r\n");
  const std::wstring url = L"https://example.com/expanded/a%2Fb/%LINKVANE_E2E_UNDEFINED%/";
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  run->AnswerBox(EnvironmentInUrlBox(url), IDYES);
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{url});
}

// --- Message M3: no URL in the file.

struct NoUrlCase {
  const char* name;
  const wchar_t* file;
  const char* content;
};

class NoUrlTest : public LinkvaneTest, public ::testing::WithParamInterface<NoUrlCase> {};

TEST_P(NoUrlTest, YesStartsTheTemplateWithAnEmptyUrl) {
  WriteBrowserDat(StandinTemplate("\"%s\" --end"));
  const std::wstring shortcut = WriteFile(GetParam().file, GetParam().content);
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  run->AnswerBox(NoUrlBox(), IDYES);
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), (Arguments{L"", L"--end"}));
}

TEST_P(NoUrlTest, NoEndsWithoutStarting) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = WriteFile(GetParam().file, GetParam().content);
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  run->AnswerBox(NoUrlBox(), IDNO);
  EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
  EXPECT_TRUE(NothingStarted());
}

const NoUrlCase kNoUrl[] = {
    {"NoUrlLine", L"a.url", "[InternetShortcut]\r\nIconFile=https://example.com/favicon.ico\r\n"},
    {"UrlOfOnlySpaces", L"a.url", "[InternetShortcut]\r\nURL=    \r\n"},
    {"UrlLineEndsAfterTheMarker", L"a.url", "URL=\r\nURL=https://example.com/second\r\n"},
    {"EmptyFile", L"a.desktop", ""},
    {"WeblocWithoutUrlKey", L"a.webloc",
     "<plist><dict><key>Name</key><string>x</string></dict></plist>"},
    {"WeblocKeyWithoutString", L"a.webloc", "<plist><dict><key>URL</key></dict></plist>"},
    {"WeblocStringNotClosed", L"a.webloc",
     "<plist><dict><key>URL</key><string>https://example.com/</dict></plist>"},
};

INSTANTIATE_TEST_SUITE_P(Files, NoUrlTest, ::testing::ValuesIn(kNoUrl), CaseName());

// --- Message M4: spaces inside the URL.

TEST_F(LinkvaneTest, UrlWithSpacesYesStartsItAsOneArgument) {
  WriteBrowserDat(StandinTemplate("--single-argument %s"));
  const std::wstring shortcut =
      WriteFile(L"a.url", "[InternetShortcut]\r\nURL=https://example.com/a b --c\r\n");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  run->AnswerBox(UrlHasSpacesBox(), IDYES);
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(),
            (Arguments{L"--single-argument", L"https://example.com/a%20b%20--c"}));
}

TEST_F(LinkvaneTest, UrlWithSpacesNoEndsWithoutStarting) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut =
      WriteFile(L"a.webloc", "<key>URL</key><string>https://example.com/a b</string>");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  run->AnswerBox(UrlHasSpacesBox(), IDNO);
  EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
  EXPECT_TRUE(NothingStarted());
}

// --- Message M5: the command cannot be started.

TEST_F(LinkvaneTest, MissingBrowserProgramIsReportedWithTheCommandAndError) {
  const std::wstring missing = InFolder(L"no-such-browser.exe");
  WriteBrowserDat("\"" + Utf8(missing) + "\" --flag %s");
  const std::wstring shortcut = WriteFile(L"a.url", kUrlFile);
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  const std::optional<MessageBoxContent> box = run->WaitForMessageBox();
  ASSERT_TRUE(box);
  const std::wstring head = L"Sorry, Windows shell could not execute the defined command:\r\n" +
                            Quoted(missing) +
                            L" --flag https://example.com/shapes\r\n\r\nError code = ";
  EXPECT_EQ(box->title, L"Linkvane");
  EXPECT_EQ(box->text.substr(0, head.size()), head);
  // CreateProcess reports a missing program file as ERROR_FILE_NOT_FOUND, with its text.
  const std::wstring tail = box->text.size() > head.size() ? box->text.substr(head.size()) : L"";
  EXPECT_EQ(tail.substr(0, 3), L"2 (") << Utf8(box->text);
  EXPECT_GT(tail.size(), 5u) << "no error description";
  EXPECT_EQ(tail.substr(tail.size() - 2), L").");
  EXPECT_EQ(box->default_button, IDOK);
  EXPECT_STREQ(BoxIconName(box->icon), "error");
  HWND window = FindLinkvaneWindow(run->process_id());
  Dismiss(window, IDOK);
  EXPECT_EQ(run->WaitForExit(), kExitStartFailed);
}

// --- An error nothing else handles ends the run with a report.

TEST_F(LinkvaneTest, UnreadableShortcutFileEndsWithAnErrorReport) {
  WriteBrowserDat(StandinTemplate());
  const std::wstring shortcut = WriteFile(L"locked.url", kUrlFile);
  // Held open without sharing: it exists, but linkvane.exe cannot open it for reading.
  HANDLE lock = ::CreateFileW(shortcut.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  HWND window = nullptr;
  const std::optional<MessageBoxContent> box = run->WaitForMessageBox(&window);
  ::CloseHandle(lock);
  ASSERT_TRUE(box);
  const std::wstring head =
      L"Sorry, Linkvane stopped because of an unexpected error.\r\n\r\nError code = 32 (";
  EXPECT_EQ(box->text.substr(0, head.size()), head) << Utf8(box->text);
  EXPECT_EQ(box->text.substr(box->text.size() - 2), L").");
  EXPECT_EQ(box->default_button, IDOK);
  EXPECT_STREQ(BoxIconName(box->icon), "error");
  Dismiss(window, IDOK);
  EXPECT_EQ(run->WaitForExit(), kExitErrorReported);
  EXPECT_TRUE(NothingStarted());
}

}  // namespace
}  // namespace linkvane::e2e
