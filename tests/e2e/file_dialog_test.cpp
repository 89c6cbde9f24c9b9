// Started without an argument, linkvane.exe lets the user pick the shortcut file in the Open
// dialog: driven here like a user would, by typing a name and pressing a button.

#include <string>
#include <vector>

#include "e2e_support.h"

namespace linkvane::e2e {
namespace {

using Arguments = std::vector<std::wstring>;

class FileDialogTest : public LinkvaneTest {
 protected:
  void SetUp() override {
    LinkvaneTest::SetUp();
    if (HasFatalFailure()) return;
    WriteBrowserDat(StandinTemplate());
    // linkvane.exe runs with this as its current folder, so a dialog that opened in the
    // current folder instead of the program's would pick the decoy of the same name.
    elsewhere_ = InFolder(L"elsewhere");
    ASSERT_TRUE(::CreateDirectoryW(elsewhere_.c_str(), nullptr));
    WriteFile(L"elsewhere\\pick.url", "[InternetShortcut]\r\nURL=https://decoy.example/\r\n");
    WriteFile(L"pick.url", "[InternetShortcut]\r\nURL=https://example.com/picked\r\n");
  }

  // Starts linkvane.exe with tail after its name and waits for the Open dialog.
  HWND StartAndWaitForDialog(const std::wstring& tail) {
    run_ = Launch(tail, elsewhere_);
    HWND dialog = run_->WaitForWindow();
    if (dialog != nullptr) {
      EXPECT_FALSE(IsMessageBox(dialog)) << "a message box instead of the Open dialog";
    }
    return dialog;
  }

  // Types name into the dialog and presses Open.
  void Choose(HWND dialog, const std::wstring& name) {
    ASSERT_TRUE(TypeFileName(dialog, name));
    Dismiss(dialog, IDOK);
  }

  std::wstring elsewhere_;
  std::unique_ptr<LinkvaneRun> run_;
};

class EmptyCommandLineTest : public FileDialogTest,
                             public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(EmptyCommandLineTest, ShowsTheOpenDialogInTheProgramsFolder) {
  HWND dialog = StartAndWaitForDialog(GetParam());
  ASSERT_NE(dialog, nullptr);
  const OpenDialogContent content = ReadOpenDialog(dialog, run_->process_id());
  EXPECT_EQ(content.title, L"Linkvane");
  ASSERT_TRUE(content.folder) << "the dialog's folder could not be read";
  EXPECT_EQ(*content.folder, folder());
  EXPECT_EQ(content.filters, (std::vector<std::wstring>{L"shortcut files", L"all files"}));
  EXPECT_EQ(content.selected_filter, 0);
  // Cancel ends the run silently: no message box (WaitForExit fails the test on any window).
  Dismiss(dialog, IDCANCEL);
  EXPECT_EQ(run_->WaitForExit(), kExitNothingStarted);
  EXPECT_TRUE(NothingStarted());
}

// The program's name alone, and with the blanks that follow it: none of them is an argument.
INSTANTIATE_TEST_SUITE_P(Tails, EmptyCommandLineTest,
                         ::testing::Values(L"", L" ", L"   ", L"\t", L" \t "),
                         [](const auto& tail_info) {
                           return tail_info.index == 0 ? std::string("NothingAfterTheName")
                                                       : "Blanks" + std::to_string(tail_info.index);
                         });

TEST_F(FileDialogTest, ChoosingAShortcutByNameOpensItFromTheProgramsFolder) {
  HWND dialog = StartAndWaitForDialog(L" ");
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, L"pick.url");
  ASSERT_EQ(run_->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{L"https://example.com/picked"});
}

TEST_F(FileDialogTest, ChoosingAShortcutByItsFullPath) {
  const std::wstring other = WriteFile(
      L"other folder\\a.desktop", "[Desktop Entry]\nType=Link\nURL=https://example.com/full\n");
  HWND dialog = StartAndWaitForDialog(L"");
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, other);
  ASSERT_EQ(run_->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{L"https://example.com/full"});
}

TEST_F(FileDialogTest, ChoosingAWeblocReadsItAsAPropertyList) {
  WriteFile(L"pick.webloc",
            "URL=https://lines.example/\n<plist><dict><key>URL</key>"
            "<string>https://plist.example/</string></dict></plist>\n");
  HWND dialog = StartAndWaitForDialog(L"");
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, L"pick.webloc");
  ASSERT_EQ(run_->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{L"https://plist.example/"});
}

TEST_F(FileDialogTest, ChoosingAnotherFileThroughAllFilesReadsItLineByLine) {
  WriteFile(L"notes.txt",
            "<plist><dict><key>URL</key><string>https://plist.example/</string></dict></plist>\n"
            "URL=https://lines.example/from-notes\n");
  HWND dialog = StartAndWaitForDialog(L"");
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(SelectFilter(dialog, 1));
  EXPECT_EQ(ReadOpenDialog(dialog, run_->process_id()).selected_filter, 1);
  Choose(dialog, L"notes.txt");
  ASSERT_EQ(run_->WaitForExit(), kExitStarted);
  EXPECT_EQ(BrowserArguments(), Arguments{L"https://lines.example/from-notes"});
}

TEST_F(FileDialogTest, ChosenFileGoesOnThroughTheQuestions) {
  WriteFile(L"empty.url", "[InternetShortcut]\r\n");
  HWND dialog = StartAndWaitForDialog(L"");
  ASSERT_NE(dialog, nullptr);
  Choose(dialog, L"empty.url");
  run_->AnswerBox(NoUrlBox(), IDNO);
  EXPECT_EQ(run_->WaitForExit(), kExitNothingStarted);
  EXPECT_TRUE(NothingStarted());
}

}  // namespace
}  // namespace linkvane::e2e
