#pragma once

// Browsers installed in the prefix as on a stock Windows PC, each a copy of the stand-in: the
// program in its own folder, an App Paths entry, a StartMenuInternet registration with its
// Capabilities\URLAssociations, a ProgId with an open command; and the user's choice of one.

#include <string>
#include <vector>

namespace linkvane::e2e {

struct InstalledBrowser {
  std::wstring folder;     // the program's folder, e.g. C:\Program Files\<Vendor>\<Name>
  std::wstring exe;        // its file name, also its App Paths name
  std::wstring name;       // its StartMenuInternet key and shown name
  std::wstring progid;     // its http and https ProgId
  std::wstring arguments;  // its open command after the quoted program, "%1" for the URL
  bool per_user = false;   // registered under HKEY_CURRENT_USER instead of HKEY_LOCAL_MACHINE
  std::wstring Path() const { return folder + L"\\" + exe; }
};

// Copies the stand-in to browser.Path() and registers it (the machine's keys in the 64-bit
// view, where Windows has one); a test failure when anything cannot be done.
void InstallBrowser(const InstalledBrowser& browser);

// Makes progid the current user's choice for http and https.
void ChooseDefaultBrowser(const std::wstring& progid);

// The stock PC's browsers where their installers put them; the first is the user's choice.
const std::vector<InstalledBrowser>& StockBrowsers();

// Installs the stock PC's browsers and the user's choice.
void InstallStockPc();

}  // namespace linkvane::e2e
