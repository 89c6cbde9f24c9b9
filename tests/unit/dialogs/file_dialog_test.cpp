#include <gtest/gtest.h>

#include <string>

#include "dialogs/Fn_RWFileDlg.h"
#include "fake/fake_platform.h"

namespace linkvane {
namespace {

using Fn_RWFileDlg::FileDialogRecord;
using Fn_RWFileDlg::SelectShortcutFile;
using Fn_RWFileDlg::ShowFileDialog;
using Fn_RWFileDlg::TrimAtNull;
using testing::DialogAnswer;
using testing::FakePlatform;

constexpr std::uint32_t kOpenFlags = 0x0210180C;
constexpr std::uint32_t kSaveFlags = 0x0210880E;
constexpr std::uint32_t kFnErrBufferTooSmall = 0x3003;

std::u16string Nuls(std::size_t count) { return std::u16string(count, u'\0'); }

const std::u16string kFilter(u"texts\0*.txt\0\0", 13);

TEST(ShowFileDialog, FillsTheParameterBlockFromTheRecordAndArguments) {
  FakePlatform platform;
  platform.dialog_answers.push_back(DialogAnswer{});
  FileDialogRecord record{u"C:\\Docs\\draft.txt", u"C:\\Docs", u"txt"};
  ShowFileDialog(platform, 0, record, 0x1234, u"Pick one", kFilter, 0);

  ASSERT_EQ(platform.dialogs.size(), 1u);
  const FileDialogBlock& block = platform.dialogs[0];
  EXPECT_EQ(block.owner, 0x1234u);
  EXPECT_TRUE(block.has_filter);
  EXPECT_EQ(block.filter, kFilter);
  EXPECT_EQ(block.file, u"C:\\Docs\\draft.txt" + Nuls(kLongestPath - 17));
  EXPECT_EQ(block.file_title, Nuls(260));
  EXPECT_EQ(block.initial_dir, std::u16string(u"C:\\Docs\0", 8));
  EXPECT_EQ(block.title, u"Pick one");
  EXPECT_EQ(block.flags, kOpenFlags);
  EXPECT_TRUE(block.has_default_ext);
  EXPECT_EQ(block.default_ext, std::u16string(u"txt\0", 4));
  EXPECT_EQ(platform.dialog_was_save, std::vector<bool>{false});
}

TEST(ShowFileDialog, LeavesOutAnEmptyFilterAndAnEmptyExtension) {
  FakePlatform platform;
  platform.dialog_answers.push_back(DialogAnswer{});
  FileDialogRecord record{u"", u"", u""};
  ShowFileDialog(platform, 0, record, 0, u"", u"", 0);

  ASSERT_EQ(platform.dialogs.size(), 1u);
  const FileDialogBlock& block = platform.dialogs[0];
  EXPECT_EQ(block.owner, 0u);
  EXPECT_FALSE(block.has_filter);
  EXPECT_FALSE(block.has_default_ext);
  EXPECT_EQ(block.file, Nuls(kLongestPath));
  // The initial folder is set even when it is empty.
  EXPECT_EQ(block.initial_dir, Nuls(1));
}

TEST(ShowFileDialog, ChoosesTheDialogAndItsDefaultFlagsBySave) {
  struct Case {
    std::int32_t save;
    std::uint32_t flags;
    bool expect_save;
    std::uint32_t expected_flags;
  };
  const Case cases[] = {
      {0, 0, false, kOpenFlags},          {1, 0, true, kSaveFlags},
      {-1, 0, true, kSaveFlags},          {2, 0, true, kSaveFlags},
      {0, 0x00080000, false, 0x00080000}, {1, 0x00080000, true, 0x00080000},
      {0, kSaveFlags, false, kSaveFlags},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("save " + std::to_string(c.save) + ", flags " + std::to_string(c.flags));
    FakePlatform platform;
    platform.dialog_answers.push_back(DialogAnswer{});
    FileDialogRecord record;
    ShowFileDialog(platform, c.save, record, 0, u"t", kFilter, c.flags);
    ASSERT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.dialog_was_save[0], c.expect_save);
    EXPECT_EQ(platform.dialogs[0].flags, c.expected_flags);
  }
}

TEST(ShowFileDialog, ReportsCancelAndFailureAndKeepsTheRecord) {
  struct Case {
    const char* what;
    std::uint32_t error;
    std::int32_t expected;
  };
  const Case cases[] = {
      {"cancelled", 0, -1},
      {"buffer too small", kFnErrBufferTooSmall, 0x3003},
      {"no template", 3, 3},
  };
  for (const Case& c : cases) {
    for (const std::int32_t save : {0, 1}) {
      SCOPED_TRACE(std::string(c.what) + (save ? " (Save)" : " (Open)"));
      FakePlatform platform;
      platform.dialog_answers.push_back(DialogAnswer{false, u"", c.error});
      FileDialogRecord record{u"proposed.txt", u"C:\\In", u"txt"};
      EXPECT_EQ(ShowFileDialog(platform, save, record, 0, u"t", kFilter, 0), c.expected);
      EXPECT_EQ(record.FileName, u"proposed.txt");
      EXPECT_EQ(record.Directory, u"C:\\In");
      EXPECT_EQ(record.FileTitle, u"txt");
    }
  }
}

TEST(ShowFileDialog, FillsTheRecordFromTheChosenFile) {
  struct Case {
    std::u16string chosen;
    std::u16string directory;
    std::u16string title;
  };
  const Case cases[] = {
      {u"C:\\Users\\me\\Links\\site.url", u"C:\\Users\\me\\Links\\", u"site.url"},
      {u"D:\\site.webloc", u"D:\\", u"site.webloc"},
      {u"\\\\server\\share\\a b.desktop", u"\\\\server\\share\\", u"a b.desktop"},
      {u"C:\\\u00e9t\u00e9\\\u5b98\u7f51.url", u"C:\\\u00e9t\u00e9\\", u"\u5b98\u7f51.url"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.chosen));
    FakePlatform platform;
    platform.dialog_answers.push_back(DialogAnswer{true, c.chosen, 0});
    FileDialogRecord record{u"", u"C:\\Start", u""};
    EXPECT_EQ(ShowFileDialog(platform, 0, record, 0, u"t", kFilter, 0), 0);
    EXPECT_EQ(record.FileName, c.chosen);
    EXPECT_EQ(record.Directory, c.directory);
    EXPECT_EQ(record.FileTitle, c.title);
  }
}

// A dialog that writes its own buffers and offset, so the record is seen to come from them.
class ScriptedDialog : public FakePlatform {
 public:
  std::u16string file;
  std::u16string file_title;
  std::uint16_t file_offset = 0;

  bool ShowOpenDialog(FileDialogBlock& block) override {
    block.file.replace(0, file.size(), file);
    block.file_title.replace(0, file_title.size(), file_title);
    block.file_offset = file_offset;
    return true;
  }
};

TEST(ShowFileDialog, TakesDirectoryFromTheOffsetAndTrimsTheBuffersAtTheirFirstNul) {
  ScriptedDialog platform;
  // A proposed name longer than the chosen one leaves its tail behind the NUL.
  platform.file = std::u16string(u"C:\\a\\b.url\0old", 14);
  platform.file_title = std::u16string(u"shown name\0rest", 15);
  platform.file_offset = 3;
  FileDialogRecord record{u"C:\\a\\longer-name.url", u"", u""};
  EXPECT_EQ(ShowFileDialog(platform, 0, record, 0, u"t", kFilter, 0), 0);
  EXPECT_EQ(record.FileName, u"C:\\a\\b.url");
  EXPECT_EQ(record.Directory, u"C:\\");
  EXPECT_EQ(record.FileTitle, u"shown name");
}

TEST(ShowFileDialog, RejectsAProposedNameThatLeavesNoRoomForItsNul) {
  for (const std::size_t length : {kLongestPath, kLongestPath + 1, std::size_t{100000}}) {
    SCOPED_TRACE(length);
    FakePlatform platform;
    FileDialogRecord record{std::u16string(length, u'x'), u"C:\\", u""};
    try {
      ShowFileDialog(platform, 0, record, 0, u"t", kFilter, 0);
      ADD_FAILURE() << "no error raised";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Number(), kErrorInvalidArgument);
    }
    EXPECT_TRUE(platform.dialogs.empty());
    EXPECT_EQ(record.FileName.size(), length);
  }
}

TEST(ShowFileDialog, AcceptsTheLongestNameThatFits) {
  FakePlatform platform;
  platform.dialog_answers.push_back(DialogAnswer{});
  FileDialogRecord record{std::u16string(kLongestPath - 1, u'x'), u"C:\\", u""};
  EXPECT_EQ(ShowFileDialog(platform, 0, record, 0, u"t", kFilter, 0), -1);
  ASSERT_EQ(platform.dialogs.size(), 1u);
  EXPECT_EQ(platform.dialogs[0].file, std::u16string(kLongestPath - 1, u'x') + Nuls(1));
}

TEST(TrimAtNull, CutsAtTheFirstNul) {
  struct Case {
    std::u16string text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"", u""},
      {u"abc", u"abc"},
      {std::u16string(u"ab\0c\0", 5), u"ab"},
      {std::u16string(u"\0abc", 4), u""},
      {std::u16string(u"abc\0", 4), u"abc"},
  };
  for (const Case& c : cases) EXPECT_EQ(TrimAtNull(c.text), c.expected) << c.text.size();
}

TEST(SelectShortcutFile, ShowsTheOpenDialogForShortcutsInTheProgramsFolder) {
  FakePlatform platform;
  platform.executable_directory = u"D:\\Tools\\Linkvane";
  platform.dialog_answers.push_back(DialogAnswer{true, u"E:\\Links\\Site.URL", 0});
  std::u16string argument = u"left over";
  EXPECT_EQ(SelectShortcutFile(platform, argument), 0);
  EXPECT_EQ(argument, u"E:\\Links\\Site.URL");

  ASSERT_EQ(platform.dialogs.size(), 1u);
  const FileDialogBlock& block = platform.dialogs[0];
  EXPECT_EQ(platform.dialog_was_save, std::vector<bool>{false});
  EXPECT_EQ(block.owner, 0u);
  EXPECT_TRUE(block.has_filter);
  const std::u16string filter(u"shortcut files\0*.url;*.desktop;*.webloc\0all files\0*.*\0\0", 55);
  EXPECT_EQ(block.filter, filter);
  EXPECT_EQ(block.title, u"Linkvane");
  EXPECT_EQ(block.initial_dir, std::u16string(u"D:\\Tools\\Linkvane\0", 18));
  EXPECT_EQ(block.flags, kOpenFlags);
  EXPECT_EQ(block.file, Nuls(kLongestPath));
  EXPECT_FALSE(block.has_default_ext);
}

TEST(SelectShortcutFile, LeavesTheArgumentEmptyWhenNothingIsChosen) {
  for (const std::uint32_t error : {0u, kFnErrBufferTooSmall}) {
    SCOPED_TRACE(error);
    FakePlatform platform;
    platform.dialog_answers.push_back(DialogAnswer{false, u"", error});
    std::u16string argument = u"left over";
    EXPECT_EQ(SelectShortcutFile(platform, argument),
              error == 0 ? -1 : static_cast<std::int32_t>(error));
    EXPECT_EQ(argument, u"");
  }
}

}  // namespace
}  // namespace linkvane
