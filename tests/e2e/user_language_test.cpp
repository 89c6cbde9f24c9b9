// linkvane.exe in the user's language. Under Wine the display language follows LC_ALL of the
// whole Unix process tree, so CTest runs this program once per locale (tests/e2e/CMakeLists.txt)
// and each run proves on itself that the locale took, so that an English box cannot pass
// unseen.

#include <string>

#include "e2e_support.h"
#include "language/text_ids.h"

namespace linkvane::e2e {
namespace {

// The text id of exe's string table stored under language, read as Windows stores it.
std::wstring ResourceText(const std::wstring& exe, LANGID language, UINT id) {
  HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  std::wstring text;
  if (HRSRC found = ::FindResourceExW(module, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language)) {
    const auto* block = static_cast<const wchar_t*>(::LockResource(::LoadResource(module, found)));
    for (UINT skipped = 0; skipped < id % 16; ++skipped) block += 1 + *block;
    text.assign(block + 1, *block);
  }
  ::FreeLibrary(module);
  return text;
}

struct Locale {
  const wchar_t* lc_all;
  LANGID ui_language;  // what Wine makes of it
  LANGID catalogue;    // the string table linkvane.exe must use; 0 for the English in the code
  bool right_to_left;
};

constexpr Locale kLocales[] = {
    {L"de_DE.UTF-8", 0x0407, 0x0407, false}, {L"de_AT.UTF-8", 0x0C07, 0x0407, false},
    {L"ja_JP.UTF-8", 0x0411, 0x0411, false}, {L"ar_EG.UTF-8", 0x0C01, 0x0401, true},
    {L"zh_CN.UTF-8", 0x0804, 0x0804, false}, {L"zh_SG.UTF-8", 0x1004, 0x0804, false},
    {L"zh_TW.UTF-8", 0x0404, 0x0404, false}, {L"zh_HK.UTF-8", 0x0C04, 0x0404, false},
    {L"ru_RU.UTF-8", 0x0419, 0x0419, false}, {L"es_ES.UTF-8", 0x0C0A, 0x0C0A, false},
    {L"es_MX.UTF-8", 0x080A, 0x0C0A, false}, {L"pt_BR.UTF-8", 0x0416, 0x0416, false},
    {L"pt_PT.UTF-8", 0x0816, 0x0416, false}, {L"fr_FR.UTF-8", 0x040C, 0x040C, false},
    {L"ko_KR.UTF-8", 0x0412, 0x0412, false}, {L"pl_PL.UTF-8", 0x0415, 0x0415, false},
    {L"tr_TR.UTF-8", 0x041F, 0x041F, false}, {L"nl_NL.UTF-8", 0x0413, 0, false},
    {L"en_US.UTF-8", 0x0409, 0, false},
};

class UserLanguageTest : public LinkvaneTest {
 protected:
  void SetUp() override {
    LinkvaneTest::SetUp();
    wchar_t lc_all[64] = L"";
    ::GetEnvironmentVariableW(L"LC_ALL", lc_all, 64);
    for (const Locale& locale : kLocales) {
      if (std::wstring(lc_all) == locale.lc_all) locale_ = &locale;
    }
    ASSERT_NE(locale_, nullptr) << "no case for LC_ALL=" << Utf8(lc_all);
    // The proof that the locale took: this process runs under it as linkvane.exe will.
    ASSERT_EQ(::GetUserDefaultUILanguage(), locale_->ui_language);
  }

  // The text as linkvane.exe must show it: its translation, or the English given.
  std::wstring Expected(UINT id, const std::wstring& english) {
    if (locale_->catalogue == 0) return english;
    const std::wstring text = ResourceText(exe(), locale_->catalogue, id);
    EXPECT_FALSE(text.empty()) << "no translation in the exe";
    EXPECT_NE(text, english);
    return text;
  }

  const Locale* locale_ = nullptr;
};

TEST_F(UserLanguageTest, AMissingShortcutIsToldInTheUsersLanguage) {
  const std::wstring missing = InFolder(L"missing.url");
  std::unique_ptr<LinkvaneRun> run = LaunchWith(Quoted(missing));
  ExpectedBox expected = FileNotFoundBox(missing);
  std::wstring text = Expected(IDS_FILE_NOT_FOUND, expected.text);
  if (locale_->catalogue != 0) {
    const std::size_t place = text.find(L"{1}");
    ASSERT_NE(place, std::wstring::npos);
    text.replace(place, 3, locale_->right_to_left ? L"\u202A" + missing + L"\u202C" : missing);
  }
  expected.text = text;
  run->AnswerBox(expected, IDOK);
  EXPECT_EQ(run->WaitForExit(), kExitNothingStarted);
}

TEST_F(UserLanguageTest, TheChooserSpeaksTheLanguageAndRunsItsWay) {
  const std::wstring title = Expected(IDS_CHOOSER_TITLE, L"Linkvane - choose a browser");
  EXPECT_EQ(title.rfind(L"Linkvane - ", 0), 0u) << "the title starts with the product's name";
  std::unique_ptr<LinkvaneRun> run = Launch(L" /choose");
  HWND dialog = WaitForLinkvaneWindow(run->process_id(), kWindowTimeoutMs, title);
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ((::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_LAYOUTRTL) != 0, locale_->right_to_left);
  Dismiss(dialog, IDCANCEL);
  EXPECT_EQ(run->WaitForExit(), 1);
}

}  // namespace
}  // namespace linkvane::e2e
