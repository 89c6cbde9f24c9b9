// Without a usable browser.dat the browser comes from the registry's record of the default
// http handler. Each test writes the registry of the prefix through the Win32 API and puts
// back what it found.

#include <string>
#include <vector>

#include "e2e_support.h"

namespace linkvane::e2e {
namespace {

using Arguments = std::vector<std::wstring>;

const wchar_t kAssociation[] =
    L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http";

// One registry value as the test found it; put back when the guard goes. Keys that the test
// creates on the way are removed again.
class RegistryValueGuard {
 public:
  RegistryValueGuard(HKEY root, std::wstring key, std::wstring name)
      : root_(root), key_(std::move(key)), name_(std::move(name)) {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root_, key_.c_str(), 0, KEY_QUERY_VALUE, &opened) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (::RegQueryValueExW(opened, name_.c_str(), nullptr, &type_, nullptr, &size) ==
        ERROR_SUCCESS) {
      data_.resize(size);
      existed_ = ::RegQueryValueExW(opened, name_.c_str(), nullptr, &type_, data_.data(), &size) ==
                 ERROR_SUCCESS;
      data_.resize(size);
    }
    ::RegCloseKey(opened);
  }

  ~RegistryValueGuard() {
    if (existed_) {
      Write(type_, data_);
    } else {
      Remove();
    }
    if (!created_.empty()) ::RegDeleteTreeW(root_, created_.c_str());
  }

  RegistryValueGuard(const RegistryValueGuard&) = delete;
  RegistryValueGuard& operator=(const RegistryValueGuard&) = delete;

  void Write(DWORD type, const std::vector<BYTE>& data) {
    NoteCreatedKey();
    HKEY opened = nullptr;
    ASSERT_EQ(::RegCreateKeyExW(root_, key_.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &opened,
                                nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(::RegSetValueExW(opened, name_.c_str(), 0, type, data.data(),
                               static_cast<DWORD>(data.size())),
              ERROR_SUCCESS);
    ::RegCloseKey(opened);
  }

  void WriteText(const std::wstring& text, DWORD type = REG_SZ) {
    const auto* bytes = reinterpret_cast<const BYTE*>(text.c_str());
    Write(type, std::vector<BYTE>(bytes, bytes + (text.size() + 1) * sizeof(wchar_t)));
  }

  void Remove() {
    HKEY opened = nullptr;
    if (::RegOpenKeyExW(root_, key_.c_str(), 0, KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
    ::RegDeleteValueW(opened, name_.c_str());
    ::RegCloseKey(opened);
  }

 private:
  // Remembers the outermost key of the path that does not exist yet, to remove it later.
  void NoteCreatedKey() {
    if (!created_.empty()) return;
    std::size_t end = 0;
    do {
      end = key_.find(L'\\', end + 1);
      const std::wstring prefix = key_.substr(0, end);
      HKEY opened = nullptr;
      if (::RegOpenKeyExW(root_, prefix.c_str(), 0, KEY_READ, &opened) != ERROR_SUCCESS) {
        created_ = prefix;
        return;
      }
      ::RegCloseKey(opened);
    } while (end != std::wstring::npos);
  }

  HKEY root_;
  std::wstring key_;
  std::wstring name_;
  bool existed_ = false;
  DWORD type_ = REG_NONE;
  std::vector<BYTE> data_;
  std::wstring created_;
};

class DefaultBrowserTest : public LinkvaneTest {
 protected:
  void SetUp() override {
    LinkvaneTest::SetUp();
    if (HasFatalFailure()) return;
    // Every place the program looks starts out empty, whatever the prefix holds.
    for (RegistryValueGuard* guard :
         {&latest_, &user_choice_, &legacy_, &fallback_, &https_choice_, &https_fallback_}) {
      guard->Remove();
    }
    shortcut_ = WriteFile(L"a.url", "[InternetShortcut]\r\nURL=https://example.com/registry\r\n");
  }

  static std::wstring Standin(const std::wstring& arguments) {
    return Quoted(StandinExe()) + L" " + arguments;
  }

  // A ProgId of the test's own, with text as the default value of its open command.
  RegistryValueGuard& ProgIdCommand(const std::wstring& progid) {
    commands_.push_back(std::make_unique<RegistryValueGuard>(
        HKEY_CLASSES_ROOT, progid + L"\\shell\\open\\command", L""));
    return *commands_.back();
  }

  std::vector<std::wstring> Open() { return OpenExpectingStart(Quoted(shortcut_)); }

  void ExpectNoBrowserCommand() {
    std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut_));
    run->AnswerBox(NoBrowserCommandBox(), IDOK);
    EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
    EXPECT_TRUE(NothingStarted());
  }

  RegistryValueGuard latest_{HKEY_CURRENT_USER,
                             std::wstring(kAssociation) + L"\\UserChoiceLatest\\ProgId", L"ProgId"};
  RegistryValueGuard user_choice_{HKEY_CURRENT_USER, std::wstring(kAssociation) + L"\\UserChoice",
                                  L"ProgId"};
  RegistryValueGuard legacy_{HKEY_CURRENT_USER, kAssociation, L"Progid"};
  RegistryValueGuard fallback_{HKEY_CLASSES_ROOT, L"http\\shell\\open\\command", L""};
  RegistryValueGuard https_choice_{HKEY_CURRENT_USER, std::wstring(kAssociation) + L"s\\UserChoice",
                                   L"ProgId"};
  RegistryValueGuard https_fallback_{HKEY_CLASSES_ROOT, L"https\\shell\\open\\command", L""};
  std::vector<std::unique_ptr<RegistryValueGuard>> commands_;
  std::wstring shortcut_;
};

TEST_F(DefaultBrowserTest, HttpOpenCommandIsTheFallback) {
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--fallback", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, UserChoiceWinsOverTheFallback) {
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  user_choice_.WriteText(L"LinkvaneE2E.Chosen");
  ProgIdCommand(L"LinkvaneE2E.Chosen").WriteText(Standin(L"--chosen \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--chosen", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, UserChoiceLatestWinsOverUserChoice) {
  user_choice_.WriteText(L"LinkvaneE2E.Chosen");
  ProgIdCommand(L"LinkvaneE2E.Chosen").WriteText(Standin(L"--chosen \"%1\""));
  latest_.WriteText(L"LinkvaneE2E.Latest");
  ProgIdCommand(L"LinkvaneE2E.Latest").WriteText(Standin(L"--latest \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--latest", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ProgIdUnderTheHttpKeyItselfIsStillHonoured) {
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  legacy_.WriteText(L"LinkvaneE2E.Legacy");
  ProgIdCommand(L"LinkvaneE2E.Legacy").WriteText(Standin(L"--legacy \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--legacy", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ProgIdOfTheCurrentUsersOwnClassesIsFound) {
  user_choice_.WriteText(L"LinkvaneE2E.User");
  commands_.push_back(std::make_unique<RegistryValueGuard>(
      HKEY_CURRENT_USER, L"Software\\Classes\\LinkvaneE2E.User\\shell\\open\\command", L""));
  commands_.back()->WriteText(Standin(L"--user \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--user", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ProgIdStoredAsBytesIsReadAsText) {
  const std::wstring progid = L"LinkvaneE2E.Bytes";
  const auto* bytes = reinterpret_cast<const BYTE*>(progid.c_str());
  user_choice_.Write(REG_BINARY,
                     std::vector<BYTE>(bytes, bytes + (progid.size() + 1) * sizeof(wchar_t)));
  ProgIdCommand(progid).WriteText(Standin(L"--bytes \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--bytes", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ProgIdWhoseCommandIsNotTextFallsBack) {
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  user_choice_.WriteText(L"LinkvaneE2E.NotText");
  ProgIdCommand(L"LinkvaneE2E.NotText").Write(REG_DWORD, {1, 0, 0, 0});
  EXPECT_EQ(Open(), (Arguments{L"--fallback", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ProgIdWhoseCommandKeyHasNoDefaultValueFallsBack) {
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  user_choice_.WriteText(L"LinkvaneE2E.NoValue");
  // The command key exists, with a named value only.
  commands_.push_back(std::make_unique<RegistryValueGuard>(
      HKEY_CLASSES_ROOT, L"LinkvaneE2E.NoValue\\shell\\open\\command", L"NotTheDefault"));
  commands_.back()->WriteText(Standin(L"--named-value \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--fallback", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ProgIdWithoutAnyKeyFallsBack) {
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  user_choice_.WriteText(L"LinkvaneE2E.Nowhere");
  EXPECT_EQ(Open(), (Arguments{L"--fallback", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ProgIdWithOnlyADescriptionFallsBack) {
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  user_choice_.WriteText(L"LinkvaneE2E.Described");
  commands_.push_back(
      std::make_unique<RegistryValueGuard>(HKEY_CLASSES_ROOT, L"LinkvaneE2E.Described", L""));
  commands_.back()->WriteText(L"An uninstalled browser's page");
  EXPECT_EQ(Open(), (Arguments{L"--fallback", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, HttpsFollowsItsOwnChoice) {
  user_choice_.WriteText(L"LinkvaneE2E.Chosen");
  ProgIdCommand(L"LinkvaneE2E.Chosen").WriteText(Standin(L"--chosen \"%1\""));
  https_choice_.WriteText(L"LinkvaneE2E.Secure");
  ProgIdCommand(L"LinkvaneE2E.Secure").WriteText(Standin(L"--secure \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--secure", L"https://example.com/registry"}));
  ::DeleteFileW(InFolder(L"standin-record.txt").c_str());
  shortcut_ = WriteFile(L"a.url", "[InternetShortcut]\r\nURL=http://example.com/plain\r\n");
  EXPECT_EQ(Open(), (Arguments{L"--chosen", L"http://example.com/plain"}));
}

TEST_F(DefaultBrowserTest, ACommandWithoutItsNulIsReadWhole) {
  user_choice_.WriteText(L"LinkvaneE2E.NoNul");
  const std::wstring command = Standin(L"--no-nul %1");
  const auto* bytes = reinterpret_cast<const BYTE*>(command.c_str());
  ProgIdCommand(L"LinkvaneE2E.NoNul")
      .Write(REG_SZ, std::vector<BYTE>(bytes, bytes + command.size() * sizeof(wchar_t)));
  EXPECT_EQ(Open(), (Arguments{L"--no-nul", L"https://example.com/registry"}));
}

// Wine's own prefix records http and https as the user's choice; without their commands this
// is a PC with no browser.
TEST_F(DefaultBrowserTest, WinesOwnChoiceWithoutCommandsShowsNoBrowserCommand) {
  user_choice_.WriteText(L"http");
  https_choice_.WriteText(L"https");
  ExpectNoBrowserCommand();
}

// A packaged browser's verb has a delegate for its command: the shell is asked to open the URL
// with it (which Wine cannot do), and no other browser stands in for it.
TEST_F(DefaultBrowserTest, APackagedBrowserIsLeftToTheShell) {
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  user_choice_.WriteText(L"LinkvaneE2E.Store");
  commands_.push_back(std::make_unique<RegistryValueGuard>(
      HKEY_CLASSES_ROOT, L"LinkvaneE2E.Store\\shell\\open\\command", L"DelegateExecute"));
  commands_.back()->WriteText(L"{4ED3A719-CEA8-4BD9-910D-E252F997AFC2}");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(shortcut_));
  HWND box = nullptr;
  const std::optional<MessageBoxContent> shown = run->WaitForMessageBox(&box);
  ASSERT_TRUE(shown);
  EXPECT_EQ(shown->text.rfind(L"Sorry, Windows shell could not execute the defined command:\r\n"
                              L"LinkvaneE2E.Store https://example.com/registry\r\n",
                              0),
            0u)
      << Utf8(shown->text);
  EXPECT_EQ(shown->text.find(L"Error code = 0 "), std::wstring::npos) << Utf8(shown->text);
  Dismiss(box, IDOK);
  EXPECT_EQ(run->WaitForExit(), kExitStartFailed);
  EXPECT_TRUE(NothingStarted());
}

TEST_F(DefaultBrowserTest, ExpandableCommandIsExpandedWhenStarted) {
  ScopedEnvironment browser(L"LINKVANE_E2E_BROWSER", StandinExe());
  user_choice_.WriteText(L"LinkvaneE2E.Expand");
  ProgIdCommand(L"LinkvaneE2E.Expand")
      .WriteText(L"\"%LINKVANE_E2E_BROWSER%\" --expanded \"%1\"", REG_EXPAND_SZ);
  EXPECT_EQ(Open(), (Arguments{L"--expanded", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ExpandableFallbackIsExpandedWhenStarted) {
  ScopedEnvironment browser(L"LINKVANE_E2E_BROWSER", StandinExe());
  fallback_.WriteText(L"\"%LINKVANE_E2E_BROWSER%\" --expanded-fallback %1", REG_EXPAND_SZ);
  EXPECT_EQ(Open(), (Arguments{L"--expanded-fallback", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, CommandWithoutPlaceholderGetsTheUrlAppended) {
  fallback_.WriteText(Standin(L"--no-placeholder"));
  EXPECT_EQ(Open(), (Arguments{L"--no-placeholder", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, OnlyTheLastPlaceholderIsReplaced) {
  fallback_.WriteText(Standin(L"--first=%1 \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--first=%1", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, ShortBrowserDatLeadsToTheRegistry) {
  WriteBrowserDat("abc\r\n\"C:\\not\\this.exe\" %s\r\n");
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--fallback", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, UsableBrowserDatWinsOverTheRegistry) {
  WriteBrowserDat(StandinTemplate("--from-browser-dat %s"));
  fallback_.WriteText(Standin(L"--fallback \"%1\""));
  EXPECT_EQ(Open(), (Arguments{L"--from-browser-dat", L"https://example.com/registry"}));
}

TEST_F(DefaultBrowserTest, NoBrowserDatAndNoHandlerShowsNoBrowserCommand) {
  ExpectNoBrowserCommand();
}

TEST_F(DefaultBrowserTest, ThreeCharacterBrowserDatAndNoHandlerShowsNoBrowserCommand) {
  WriteBrowserDat("abc\r\n");
  ExpectNoBrowserCommand();
}

TEST_F(DefaultBrowserTest, ChosenProgIdWithoutCommandAndNoFallbackShowsNoBrowserCommand) {
  user_choice_.WriteText(L"LinkvaneE2E.Nowhere");
  ExpectNoBrowserCommand();
}

}  // namespace
}  // namespace linkvane::e2e
