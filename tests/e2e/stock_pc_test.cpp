// The README's templates, as written, on a PC whose browsers are installed where their
// installers put them: each browser is named by its full path, gets exactly the template's
// arguments and starts in its own folder, whatever folder Linkvane ran in.

#include "stock_pc.h"

#include "e2e_support.h"

namespace linkvane::e2e {
namespace {

struct ReadmeCase {
  const char* name;
  const char* browser_dat;  // none: the user's default browser
  std::size_t browser;      // which of the stock browsers starts
  std::vector<std::wstring> arguments;
};

class ReadmeTemplateTest : public LinkvaneTest, public ::testing::WithParamInterface<ReadmeCase> {
 protected:
  static void SetUpTestSuite() { InstallStockPc(); }
};

TEST_P(ReadmeTemplateTest, StartsTheInstalledBrowserInItsFolder) {
  const ReadmeCase& readme = GetParam();
  if (*readme.browser_dat != '\0') WriteBrowserDat(std::string(readme.browser_dat) + "\r\n");
  const std::wstring shortcut =
      WriteFile(L"Downloads\\a.url", "[InternetShortcut]\r\nURL=https://example.com/stock\r\n");
  std::unique_ptr<LinkvaneRun> run = Launch(L" " + Quoted(shortcut), InFolder(L"Downloads"));
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  const std::optional<StandinRecord> record = WaitForRecord();
  ASSERT_TRUE(record);
  const InstalledBrowser& browser = StockBrowsers()[readme.browser];
  std::vector<std::wstring> expected = {browser.Path()};
  expected.insert(expected.end(), readme.arguments.begin(), readme.arguments.end());
  EXPECT_EQ(record->arguments, expected);
  EXPECT_EQ(record->current_directory, browser.folder);
}

const wchar_t kUrl[] = L"https://example.com/stock";

const ReadmeCase kReadme[] = {
    {"QuotedPath",
     "\"C:\\Program Files\\Mozilla Firefox\\firefox.exe\" -new-tab \"%s\"",
     0,
     {L"-new-tab", kUrl}},
    {"UnquotedPathWithBlanks",
     "C:\\Program Files\\Mozilla Firefox\\firefox.exe -new-tab %s",
     0,
     {L"-new-tab", kUrl}},
    {"BareNameThroughAppPaths", "firefox -new-tab %s", 0, {L"-new-tab", kUrl}},
    {"BareNameWithItsExtension", "msedge.exe \"%s\"", 1, {kUrl}},
    {"ProgramFilesAsTheUserSeesIt",
     "\"%ProgramFiles%\\Google\\Chrome\\Application\\chrome.exe\" \"%s\"",
     2,
     {kUrl}},
    {"BareNameOfTheUsersOwnBrowser", "lightwave %s", 3, {kUrl}},
    {"TheDefaultBrowser", "", 0, {L"-osint", L"-url", kUrl}},
};

INSTANTIATE_TEST_SUITE_P(Readme, ReadmeTemplateTest, ::testing::ValuesIn(kReadme), CaseName());

}  // namespace
}  // namespace linkvane::e2e
