#include "stock_pc.h"

#include <windows.h>

#include <filesystem>

#include "e2e_support.h"

namespace linkvane::e2e {

namespace {

// Writes a REG_SZ value, creating its key; the machine's in the 64-bit view, as a 64-bit
// installer writes them.
void SetText(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& text) {
  HKEY opened = nullptr;
  const REGSAM view = root == HKEY_LOCAL_MACHINE ? KEY_WOW64_64KEY : 0;
  ASSERT_EQ(::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE | view, nullptr,
                              &opened, nullptr),
            ERROR_SUCCESS)
      << Utf8(key);
  EXPECT_EQ(::RegSetValueExW(opened, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  ::RegCloseKey(opened);
}

}  // namespace

void InstallBrowser(const InstalledBrowser& b) {
  std::error_code ignored;
  std::filesystem::create_directories(b.folder, ignored);
  ASSERT_TRUE(::CopyFileW(StandinExe().c_str(), b.Path().c_str(), FALSE)) << Utf8(b.Path());
  const HKEY root = b.per_user ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
  const std::wstring client = L"Software\\Clients\\StartMenuInternet\\" + b.name;
  const std::wstring urls = client + L"\\Capabilities\\URLAssociations";
  // The ProgId where its installer puts it: the user's classes, or the machine's (which a 32-bit
  // program reaches through HKEY_CLASSES_ROOT).
  const HKEY classes = b.per_user ? HKEY_CURRENT_USER : HKEY_CLASSES_ROOT;
  const struct {
    HKEY root;
    std::wstring key;
    const wchar_t* name;
    std::wstring text;
  } values[] = {
      {root, L"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\" + b.exe, nullptr,
       b.Path()},
      {root, client, nullptr, b.name},
      {root, client + L"\\Capabilities", L"ApplicationName", b.name},
      {root, urls, L"http", b.progid},
      {root, urls, L"https", b.progid},
      {root, client + L"\\shell\\open\\command", nullptr, Quoted(b.Path())},
      {root, L"Software\\RegisteredApplications", b.name.c_str(), client + L"\\Capabilities"},
      {classes, (b.per_user ? L"Software\\Classes\\" : L"") + b.progid + L"\\shell\\open\\command",
       nullptr, Quoted(b.Path()) + L" " + b.arguments},
  };
  for (const auto& value : values) SetText(value.root, value.key, value.name, value.text);
}

void ChooseDefaultBrowser(const std::wstring& progid) {
  for (const wchar_t* scheme : {L"http", L"https"}) {
    SetText(HKEY_CURRENT_USER,
            std::wstring(L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\") +
                scheme + L"\\UserChoice",
            L"ProgId", progid);
  }
}

const std::vector<InstalledBrowser>& StockBrowsers() {
  // A 32-bit browser lives in the x86 folder on 64-bit Windows; one for the user alone in the
  // user's own programs folder.
  static const std::wstring x86 = On64BitWindows() ? L" (x86)" : L"";
  static const std::wstring user = _wgetenv(L"LOCALAPPDATA");
  static const std::vector<InstalledBrowser> browsers = {
      {L"C:\\Program Files\\Mozilla Firefox", L"firefox.exe", L"Firefox",
       L"FirefoxURL-308046B0AF4A39CB", L"-osint -url \"%1\""},
      {L"C:\\Program Files" + x86 + L"\\Microsoft\\Edge\\Application", L"msedge.exe",
       L"Microsoft Edge", L"MSEdgeHTM", L"--single-argument %1"},
      {L"C:\\Program Files\\Google\\Chrome\\Application", L"chrome.exe", L"Google Chrome",
       L"ChromeHTML", L"--single-argument %1"},
      {user + L"\\Programs\\Lightwave", L"lightwave.exe", L"Lightwave", L"LightwaveURL", L"\"%1\"",
       true},
  };
  return browsers;
}

void InstallStockPc() {
  for (const InstalledBrowser& browser : StockBrowsers()) InstallBrowser(browser);
  ChooseDefaultBrowser(StockBrowsers().front().progid);
}

}  // namespace linkvane::e2e
