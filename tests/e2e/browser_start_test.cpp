// How the browser is found and started, and what is asked before an address that is no web
// page: the real linkvane.exe under Wine, with the stand-in browser copied where each case needs.

#include <string>
#include <vector>

#include "e2e_support.h"

namespace linkvane::e2e {
namespace {

using Arguments = std::vector<std::wstring>;

const char kUrlFile[] = "[InternetShortcut]\r\nURL=https://example.com/found\r\n";

std::wstring CopyStandin(const std::wstring& path) {
  EXPECT_TRUE(::CopyFileW(StandinExe().c_str(), path.c_str(), FALSE)) << Utf8(path);
  return path;
}

// --- The program is never looked for in the current folder (here, the shortcut's own).

struct LookupCase {
  const char* name;
  const wchar_t* planted;  // where the stand-in is copied, in the test's folder
  const char* program;     // browser.dat's program, before " %s"
  bool starts;
};

class ProgramLookupTest : public LinkvaneTest, public ::testing::WithParamInterface<LookupCase> {};

TEST_P(ProgramLookupTest, FindsOnlyWhatWindowsKeepsAsPrograms) {
  const LookupCase& lookup = GetParam();
  ASSERT_TRUE(::CreateDirectoryW(InFolder(L"Downloads").c_str(), nullptr));
  ASSERT_TRUE(::CreateDirectoryW(InFolder(L"Downloads\\tools").c_str(), nullptr));
  CopyStandin(InFolder(lookup.planted));
  WriteBrowserDat(std::string(lookup.program) + " \"%s\"\r\n");
  const std::wstring shortcut = WriteFile(L"Downloads\\a.url", kUrlFile);
  std::unique_ptr<LinkvaneRun> run = Launch(L" " + Quoted(shortcut), InFolder(L"Downloads"));
  if (lookup.starts) {
    ASSERT_EQ(run->WaitForExit(), kExitStarted);
    EXPECT_EQ(BrowserArguments(), Arguments{L"https://example.com/found"});
    return;
  }
  run->AnswerBox(CannotExecuteBox(FromUtf8(lookup.program) + L" \"https://example.com/found\"",
                                  L"2 (The system cannot find the file specified.)"),
                 IDOK);
  EXPECT_EQ(run->WaitForExit(), kExitStartFailed);
  EXPECT_TRUE(NothingStarted());
}

const LookupCase kLookups[] = {
    {"BareNameInTheCurrentFolder", L"Downloads\\lvbro.exe", "lvbro", false},
    {"RelativePathFromTheCurrentFolder", L"Downloads\\tools\\b.exe", "tools\\b.exe", false},
    {"DotPathFromTheCurrentFolder", L"Downloads\\lvbro.exe", ".\\lvbro.exe", false},
    {"BareNameBesideLinkvane", L"lvbro.exe", "lvbro", true},
};

INSTANTIATE_TEST_SUITE_P(Programs, ProgramLookupTest, ::testing::ValuesIn(kLookups), CaseName());

// A hand-written association may leave the program's path unquoted, blanks and all.
TEST_F(LinkvaneTest, OpensItsShortcutWhenItsOwnPathIsUnquoted) {
  const std::wstring folder = InFolder(L"Link vane x");
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
  const std::wstring exe = folder + L"\\linkvane.exe";
  ASSERT_TRUE(::CopyFileW(LinkvaneBuildExe().c_str(), exe.c_str(), FALSE));
  WriteFile(L"Link vane x\\browser.dat", StandinTemplate("%s"));
  const std::wstring shortcut = WriteFile(L"a b.url", kUrlFile);
  std::unique_ptr<LinkvaneRun> run = LaunchExe(exe, exe + L" " + shortcut, folder);
  ASSERT_EQ(run->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{L"https://example.com/found"});
}

// A browser.dat written by a user who sees the browser under "Program Files" finds it there,
// also on 64-bit Windows, where a 32-bit program's %ProgramFiles% is the x86 folder.
TEST_F(LinkvaneTest, ProgramFilesInBrowserDatIsTheFolderTheUserSees) {
  wchar_t native[MAX_PATH] = L"";
  if (::GetEnvironmentVariableW(L"ProgramW6432", native, MAX_PATH) == 0) {
    ASSERT_GT(::GetEnvironmentVariableW(L"ProgramFiles", native, MAX_PATH), 0u);
  }
  const std::wstring name = L"lv-e2e-" + std::to_wstring(::GetCurrentProcessId());
  const std::wstring folder = std::wstring(native) + L"\\" + name;
  ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr) ||
              ::GetLastError() == ERROR_ALREADY_EXISTS);
  CopyStandin(folder + L"\\standin.exe");
  WriteBrowserDat(Utf8(L"\"%ProgramFiles%\\" + name + L"\\standin.exe\" --seen %s\r\n"));
  const std::wstring shortcut = WriteFile(L"a.url", kUrlFile);
  const Arguments arguments = OpenExpectingStart(Quoted(shortcut));
  ::DeleteFileW((folder + L"\\standin.exe").c_str());
  ::RemoveDirectoryW(folder.c_str());
  EXPECT_EQ(arguments, (Arguments{L"--seen", L"https://example.com/found"}));
}

// --- Anything but a web page, mail or a local file is asked about first.

struct AddressCase {
  const char* name;
  const char* url;
  bool asked;
  const char* browser_dat = nullptr;  // the stand-in's when not given
};

class AddressTest : public LinkvaneTest, public ::testing::WithParamInterface<AddressCase> {};

TEST_P(AddressTest, AsksBeforeWhatIsNoWebPage) {
  const AddressCase& address = GetParam();
  WriteBrowserDat(address.browser_dat != nullptr ? address.browser_dat : StandinTemplate("%s"));
  const std::wstring shortcut =
      WriteFile(L"a.url", std::string("[InternetShortcut]\r\nURL=") + address.url + "\r\n");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut));
  if (!address.asked) {
    ASSERT_EQ(run->WaitForExit(), kExitStarted);
    EXPECT_EQ(BrowserArguments(), Arguments{FromUtf8(address.url)});
    return;
  }
  run->AnswerBox({L"This shortcut does not lead to a web page:\r\n" + FromUtf8(address.url) +
                      L"\r\nContinue anyway?",
                  {IDYES, IDNO},
                  IDNO,
                  BoxIcon::kWarning},
                 IDNO);
  EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
  EXPECT_TRUE(NothingStarted());
}

const AddressCase kAddresses[] = {
    {"Https", "https://example.com/", false},
    {"LocalDriveFile", "file:///C:/Users/Public/page.html", false},
    {"FileOnAnotherComputer", "file://host.example/share/page.html", true},
    {"FileOnAnotherComputerFourSlashes", "file:////host.example/share/page.html", true},
    {"UncPath", "\\\\host.example\\share\\page.html", true},
    {"DevicePath", "file:\\\\.\\globalroot\\device\\condrv\\kernelconnect", true},
    {"JavaScript", "javascript:alert(1)", true},
    {"Ftp", "ftp://ftp.example.org/pub/", true},
    {"LocalFileThroughExplorer", "file:///C:/windows/notepad.exe", true,
     "\"C:\\windows\\explorer.exe\" \"%s\""},
    {"MailThroughRundll32", "mailto:a@example.com", true,
     "rundll32.exe url.dll,FileProtocolHandler %s"},
};

INSTANTIATE_TEST_SUITE_P(Urls, AddressTest, ::testing::ValuesIn(kAddresses), CaseName());

// Characters that a program reading its command line in the ANSI code page would take for a
// quote, a dash, a slash, a backslash or a blank reach the browser percent-encoded.
TEST_F(LinkvaneTest, LookAlikesReachTheBrowserEncoded) {
  WriteBrowserDat(StandinTemplate("\"%s\""));
  const std::wstring shortcut = WriteFile(
      L"a.url", Utf8(L"[InternetShortcut]\r\nURL=https://example.com/\uFF02\uFF0D\uFF0F\uFF3C"
                     L"\u00A5\u3000M\u00FCller\u2044\u2215\u0416\r\n"));
  // Fraction and division slashes too, as the code page's own best fit has them.
  EXPECT_EQ(OpenExpectingStart(Quoted(shortcut)),
            Arguments{L"https://example.com/%EF%BC%82%EF%BC%8D%EF%BC%8F%EF%BC%BC%C2%A5%E3%80%80"
                      L"M\u00FCller%E2%81%84%E2%88%95\u0416"});
}

}  // namespace
}  // namespace linkvane::e2e
