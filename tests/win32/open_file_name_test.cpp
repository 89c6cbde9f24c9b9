#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "dialogs/Fn_RWFileDlg.h"
#include "platform/win32/win32_platform.h"

namespace linkvane {
namespace {

// The texts a pointer of the block points at, NULs included, for count characters.
std::u16string At(const wchar_t* text, std::size_t count) {
  return text == nullptr ? u"(none)" : win32::FromWide(text, count);
}

TEST(OpenFileName, HasTheFullLayoutOfThe32BitSystem) {
  if (sizeof(void*) != 4) GTEST_SKIP() << "the suites' 64-bit build: the product is 32-bit";
  EXPECT_EQ(sizeof(OPENFILENAMEW), 88u);
  EXPECT_EQ(sizeof(void*), 4u);
}

TEST(OpenFileName, MapsEveryFieldOfTheBlock) {
  FileDialogBlock block;
  block.owner = 0x00012340;
  block.has_filter = true;
  block.filter = std::u16string(u"texts\0*.txt\0all\0*.*\0\0", 22);
  block.file = u"C:\\a.txt" + std::u16string(252, u'\0');
  block.file_title = std::u16string(260, u'\0');
  block.initial_dir = std::u16string(u"C:\\Start\0", 9);
  block.title = u"Linkvane";
  block.flags = 0x0210180C;
  block.has_default_ext = true;
  block.default_ext = std::u16string(u"url\0", 4);

  win32::FileDialogBuffers buffers;
  const OPENFILENAMEW ofn = win32::MakeOpenFileName(block, buffers);
  EXPECT_EQ(ofn.lStructSize, sizeof(OPENFILENAMEW));  // 88 bytes in the 32-bit product
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(ofn.hwndOwner), 0x00012340u);
  EXPECT_EQ(ofn.hInstance, nullptr);
  EXPECT_EQ(At(ofn.lpstrFilter, 22), block.filter);
  EXPECT_EQ(ofn.lpstrCustomFilter, nullptr);
  EXPECT_EQ(ofn.nMaxCustFilter, 0u);
  EXPECT_EQ(ofn.nFilterIndex, 0u);
  EXPECT_EQ(ofn.lpstrFile, buffers.file.data());
  EXPECT_EQ(At(ofn.lpstrFile, 260), block.file);
  EXPECT_EQ(ofn.nMaxFile, 260u);
  EXPECT_EQ(ofn.lpstrFileTitle, buffers.file_title.data());
  EXPECT_EQ(At(ofn.lpstrFileTitle, 260), block.file_title);
  EXPECT_EQ(ofn.nMaxFileTitle, 260u);
  EXPECT_EQ(At(ofn.lpstrInitialDir, 9), block.initial_dir);
  EXPECT_EQ(At(ofn.lpstrTitle, 9), std::u16string(u"Linkvane\0", 9));
  EXPECT_EQ(ofn.Flags, 0x0210180Cu);
  EXPECT_EQ(ofn.nFileOffset, 0u);
  EXPECT_EQ(ofn.nFileExtension, 0u);
  EXPECT_EQ(At(ofn.lpstrDefExt, 4), block.default_ext);
  EXPECT_EQ(ofn.lCustData, 0);
  EXPECT_EQ(ofn.lpfnHook, nullptr);
  EXPECT_EQ(ofn.lpTemplateName, nullptr);
  EXPECT_EQ(ofn.pvReserved, nullptr);
  EXPECT_EQ(ofn.dwReserved, 0u);
  EXPECT_EQ(ofn.FlagsEx, 0u);
}

TEST(OpenFileName, PassesAbsentTextsAsNone) {
  FileDialogBlock block;
  block.file = std::u16string(260, u'\0');
  block.file_title = std::u16string(260, u'\0');
  block.initial_dir = std::u16string(1, u'\0');
  win32::FileDialogBuffers buffers;
  const OPENFILENAMEW ofn = win32::MakeOpenFileName(block, buffers);
  EXPECT_EQ(ofn.hwndOwner, nullptr);
  EXPECT_EQ(ofn.lpstrFilter, nullptr);
  EXPECT_EQ(ofn.lpstrDefExt, nullptr);
  // An empty initial folder is still given, as an empty text.
  ASSERT_NE(ofn.lpstrInitialDir, nullptr);
  EXPECT_EQ(ofn.lpstrInitialDir[0], L'\0');
}

TEST(OpenFileName, ReadsBackTheFileTitleAndOffset) {
  FileDialogBlock block;
  block.file = std::u16string(260, u'\0');
  block.file_title = std::u16string(260, u'\0');
  block.initial_dir = std::u16string(1, u'\0');
  win32::FileDialogBuffers buffers;
  OPENFILENAMEW ofn = win32::MakeOpenFileName(block, buffers);
  // What the dialog writes.
  const wchar_t chosen[] = L"D:\\Links\\site.url";
  std::memcpy(ofn.lpstrFile, chosen, sizeof chosen);
  std::memcpy(ofn.lpstrFileTitle, L"site.url", sizeof L"site.url");
  ofn.nFileOffset = 9;
  ofn.nFileExtension = 14;

  win32::ReadBackOpenFileName(ofn, buffers, block);
  EXPECT_EQ(block.file, u"D:\\Links\\site.url" + std::u16string(260 - 17, u'\0'));
  EXPECT_EQ(block.file_title, u"site.url" + std::u16string(260 - 8, u'\0'));
  EXPECT_EQ(block.file_offset, 9u);
}

// A dialog template that cannot be found makes the system fail the dialog before showing it,
// which exercises the failure path of the real dialog without a user.
TEST(OpenFileName, AFailingDialogReportsTheSystemsErrorAndKeepsTheRecord) {
  constexpr std::uint32_t kEnableTemplate = 0x40;
  for (const std::int32_t save : {0, 1}) {
    win32::Win32Platform platform;
    Fn_RWFileDlg::FileDialogRecord record{u"proposed.url", u"C:\\", u"url"};
    const std::int32_t result = Fn_RWFileDlg::ShowFileDialog(platform, save, record, 0, u"Linkvane",
                                                             u"", 0x0210180C | kEnableTemplate);
    EXPECT_GT(result, 0) << "save " << save;
    EXPECT_EQ(record.FileName, u"proposed.url");
    EXPECT_EQ(record.Directory, u"C:\\");
    EXPECT_EQ(record.FileTitle, u"url");
  }
}

}  // namespace
}  // namespace linkvane
