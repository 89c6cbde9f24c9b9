// linkvane.exe /choose, driven as a user would: a first letter typed in the list, Enter (or Esc);
// the next shortcut then opens in the browser chosen. Three stand-in browsers are registered as
// Windows lists them, for the user and for the computer.

#include <string>
#include <vector>

#include "e2e_support.h"
#include "stock_pc.h"

namespace linkvane::e2e {
namespace {

using Arguments = std::vector<std::wstring>;

class ChooserTest : public LinkvaneTest {
 protected:
  void SetUp() override {
    LinkvaneTest::SetUp();
    wchar_t path[MAX_PATH];
    ASSERT_GT(::ExpandEnvironmentStringsW(L"%LOCALAPPDATA%\\Linkvane\\browser.dat", path, MAX_PATH),
              0u);
    user_file_ = path;
    ::DeleteFileW(user_file_.c_str());
    // Names that begin with letters no other browser of the prefix begins with; one is the
    // user's, with its ProgId in the user's classes.
    const InstalledBrowser browsers[] = {
        {L"C:\\Choose\\Juniper", L"juniper.exe", L"Juniper", L"JuniperURL", L"--juniper \"%1\"",
         true},
        {L"C:\\Choose\\Quince", L"quince.exe", L"Quince", L"QuinceURL", L"%1"},
        {L"C:\\Choose\\Xylosma", L"xylosma.exe", L"Xylosma", L"XylosmaURL", L"-x -url \"%1\""},
    };
    for (const InstalledBrowser& browser : browsers) InstallBrowser(browser);
    WriteBrowserDat(StandinTemplate("--computer \"%s\""));
    shortcut_ = WriteFile(L"a.url", "[InternetShortcut]\r\nURL=https://example.com/chosen\r\n");
  }

  void TearDown() override {
    ::DeleteFileW(user_file_.c_str());
    LinkvaneTest::TearDown();
  }

  std::wstring user_file_;
  std::wstring shortcut_;
};

TEST_F(ChooserTest, TheBrowserChosenByItsFirstLetterOpensTheNextShortcut) {
  const std::string mine = "\"" + Utf8(StandinExe()) + "\" --mine %s";
  struct Case {
    const char* name;
    std::string before;  // the user's browser.dat ("": none)
    const wchar_t* keys;
    int status;
    Arguments opened;
    std::string after_first_line;  // what follows the first line afterwards
  };
  const std::wstring url = L"https://example.com/chosen";
  const Case cases[] = {
      {"user's browser, user's ProgId", "", L"j\r", 0, {L"--juniper", url}, "\r\n"},
      {"computer's browser", "", L"q\r", 0, {url}, "\r\n"},
      {"computer's ProgId", mine + "\n\xC3\xA9", L"x\r", 0, {L"-x", L"-url", url}, "\n\xC3\xA9"},
      {"no choice gives back the computer's", mine + "\r\n", L"n\r", 0, {L"--computer", url}, ""},
      {"cancel changes nothing", mine + "\r\nkept", L"q\x1B", 1, {L"--mine", url}, "\r\nkept"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ::DeleteFileW(user_file_.c_str());
    if (!c.before.empty()) {
      ::CreateDirectoryW(user_file_.substr(0, user_file_.rfind(L'\\')).c_str(), nullptr);
      WriteBytes(user_file_, c.before);
    }
    std::unique_ptr<LinkvaneRun> run = Launch(L" /choose");
    HWND dialog =
        WaitForLinkvaneWindow(run->process_id(), kWindowTimeoutMs, L"Linkvane - choose a browser");
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(TypeKeys(dialog, c.keys));
    ASSERT_EQ(run->WaitForExit(), c.status);
    const std::string after = ReadBytes(user_file_);
    EXPECT_EQ(after.substr(std::min(after.find_first_of("\r\n"), after.size())),
              c.after_first_line);
    EXPECT_EQ(OpenExpectingStart(Quoted(shortcut_)), c.opened);
    ::DeleteFileW(InFolder(L"standin-record.txt").c_str());
  }
}

// /openwith: once, in the browser typed by its first letter, with the saved choice untouched;
// with the box ticked, the site keeps that browser for its later plain opens and subdomains.
TEST_F(ChooserTest, OpenWithOpensOnceAndATickedBoxKeepsTheSitesBrowser) {
  const std::wstring sites = user_file_.substr(0, user_file_.rfind(L'\\')) + L"\\sites.txt";
  ::DeleteFileW(sites.c_str());
  const auto open_with = [&](const std::wstring& file, const wchar_t* letter, const wchar_t* end,
                             bool tick) {
    std::unique_ptr<LinkvaneRun> run = Launch(L" /openwith " + Quoted(file));
    HWND dialog = WaitForLinkvaneWindow(run->process_id(), kWindowTimeoutMs,
                                        L"Linkvane - open in another browser");
    EXPECT_NE(dialog, nullptr);
    if (dialog != nullptr) {
      // The browser by its letter, the box ticked by a click, then Enter or Esc.
      EXPECT_TRUE(TypeKeys(dialog, letter));
      if (tick) ::SendMessageW(::GetDlgItem(dialog, 105), BM_CLICK, 0, 0);
      EXPECT_TRUE(TypeKeys(dialog, end));
    }
    return run->WaitForExit();
  };
  const auto opened = [&] {
    const Arguments arguments = BrowserArguments();
    ::DeleteFileW(InFolder(L"standin-record.txt").c_str());
    return arguments;
  };
  EXPECT_EQ(open_with(shortcut_, L"q", L"\r", false), 0);
  EXPECT_EQ(opened(), Arguments{L"https://example.com/chosen"});
  EXPECT_EQ(open_with(shortcut_, L"q", L"\x1B", false), 1);
  EXPECT_TRUE(NothingStarted());
  const std::wstring www = WriteFile(
      L"w.webloc",
      "<plist><dict><key>URL</key><string>https://www.example.com/a</string></dict></plist>");
  EXPECT_EQ(open_with(www, L"x", L"\r", true), 0);
  EXPECT_EQ(opened(), (Arguments{L"-x", L"-url", L"https://www.example.com/a"}));
  const std::wstring docs =
      WriteFile(L"d.desktop", "[Desktop Entry]\nType=Link\nURL=https://docs.example.com/\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(docs)),
            (Arguments{L"-x", L"-url", L"https://docs.example.com/"}));
  ::DeleteFileW(InFolder(L"standin-record.txt").c_str());
  const std::wstring other =
      WriteFile(L"o.url", "[InternetShortcut]\r\nURL=https://example.org/\r\n");
  EXPECT_EQ(OpenExpectingStart(Quoted(other)), (Arguments{L"--computer", L"https://example.org/"}));
  EXPECT_FALSE(PathExists(user_file_));
  ::DeleteFileW(sites.c_str());
}

}  // namespace
}  // namespace linkvane::e2e
