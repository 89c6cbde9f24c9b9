#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"

namespace linkvane {
namespace {

using Module_Main::RunCommand;
using testing::FakePlatform;
using testing::Operation;

std::u16string CannotExecuteText(std::u16string_view command, std::u16string_view code) {
  return u"Sorry, Windows shell could not execute the defined command:\r\n" +
         std::u16string(command) + u"\r\n\r\nError code = " + std::u16string(code) + u".";
}

// A platform whose expansion raises instead of reporting failure by its result.
class RaisingExpansionPlatform : public FakePlatform {
 public:
  std::uint32_t ExpandEnvironment(const std::u16string&, char16_t*, std::uint32_t) override {
    throw PlatformError(1450, u"Insufficient system resources.");
  }
};

// A world with the programs the tests' commands name.
FakePlatform WithPrograms() {
  FakePlatform platform;
  platform.AddFile(u"C:\\b.exe", "MZ");
  platform.AddFile(u"C:\\Linkvane\\b.exe", "MZ");
  return platform;
}

TEST(RunCommand, StartsTheExpandedCommandInANormalWindow) {
  FakePlatform platform = WithPrograms();
  platform.environment[u"LV_BROWSER"] = u"C:\\b.exe";
  EXPECT_TRUE(RunCommand(platform, u"%LV_BROWSER% \"%LV_MISSING%\"", true));
  EXPECT_TRUE(RunCommand(platform, u"b.exe %LV_BROWSER%", false));
  // Each by the path found, quoted, in its own folder.
  EXPECT_EQ(platform.started,
            (std::vector<std::u16string>{u"\"C:\\b.exe\" \"%LV_MISSING%\"",
                                         u"\"C:\\Linkvane\\b.exe\" %LV_BROWSER%"}));
  EXPECT_EQ(platform.started_applications,
            (std::vector<std::u16string>{u"C:\\b.exe", u"C:\\Linkvane\\b.exe"}));
  EXPECT_EQ(platform.started_directories, (std::vector<std::u16string>{u"C:\\", u"C:\\Linkvane"}));
  EXPECT_EQ(platform.show_states, (std::vector<int>{1, 1}));
  // Each started suspended with the default error mode, let to the front, then resumed.
  EXPECT_EQ(platform.creation_flags, (std::vector<std::uint32_t>{0x04000004u, 0x04000004u}));
  EXPECT_EQ(platform.foreground_allowed, (std::vector<std::uint32_t>{1001u, 1002u}));
  EXPECT_EQ(platform.resumed, platform.foreground_allowed);
  EXPECT_TRUE(platform.shown.empty());
}

TEST(RunCommand, ReportsAFailedStartWithItsNumberAndDescription) {
  FakePlatform platform;
  platform.environment[u"LV_DIR"] = u"C:\\Missing";
  platform.Fail(Operation::kStartProcess, 2, u"The system cannot find the file specified.");
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"\"%LV_DIR%\\b.exe\" http://a/", true));
  ASSERT_EQ(platform.shown.size(), 1u);
  // The command as it stood when the start was tried, expanded.
  EXPECT_EQ(platform.shown[0].text,
            CannotExecuteText(u"\"C:\\Missing\\b.exe\" http://a/",
                              u"2 (The system cannot find the file specified.)"));
  EXPECT_EQ(platform.shown[0].flags, 0x10u);
  EXPECT_EQ(platform.shown[0].title, u"Linkvane");
  // What is no Windows program gets the reason the chooser gives, not Windows' words.
  platform.AddFile(u"C:\\Missing\\b.exe", "#!");
  platform.Fail(Operation::kStartProcess, 193, u"%1 is not a valid Win32 application.");
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"\"%LV_DIR%\\b.exe\" http://a/", true));
  EXPECT_NE(platform.shown[1].text.find(u"= 193 (This is not a Windows program: a"),
            std::u16string::npos);
}

TEST(RunCommand, AFailedExpansionLeavesAnEmptyCommandThatCannotStart) {
  FakePlatform platform = WithPrograms();
  platform.Fail(Operation::kExpandEnvironment);
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"b.exe http://a/", true));
  EXPECT_TRUE(platform.started.empty());
  ASSERT_EQ(platform.shown.size(), 1u);
  EXPECT_EQ(platform.shown[0].text, CannotExecuteText(u"", u"87 (The command line is empty.)"));
}

TEST(RunCommand, AnExpansionThatRaisesLeavesTheCommandUnexpanded) {
  RaisingExpansionPlatform platform;
  platform.AddFile(u"C:\\Linkvane\\b.exe", "MZ");
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"b.exe http://a/%LV_B%", true));
  EXPECT_EQ(platform.started,
            std::vector<std::u16string>{u"\"C:\\Linkvane\\b.exe\" http://a/%LV_B%"});
  ASSERT_EQ(platform.shown.size(), 1u);
  EXPECT_EQ(platform.shown[0].text,
            CannotExecuteText(u"b.exe http://a/%LV_B%", u"1450 (Insufficient system resources.)"));

  platform.shown.clear();
  platform.Fail(Operation::kStartProcess, 2, u"Not found.");
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"b.exe http://a/%LV_B%", true));
  ASSERT_EQ(platform.shown.size(), 1u);
  EXPECT_EQ(platform.shown[0].text, CannotExecuteText(u"b.exe http://a/%LV_B%", u"2 (Not found.)"));
}

TEST(RunCommand, AVeryLongCommandIsShownByItsBeginning) {
  for (std::size_t length : {1023u, 1024u, 1025u, 40000u}) {
    FakePlatform platform = WithPrograms();
    platform.Fail(Operation::kStartProcess, 206, u"The filename or extension is too long.");
    platform.message_answers = {1};
    std::u16string command = u"b.exe ";
    while (command.size() < length) command.push_back(u'a' + command.size() % 26);
    EXPECT_FALSE(RunCommand(platform, command, false));
    ASSERT_EQ(platform.shown.size(), 1u);
    const std::u16string shown = length <= 1024 ? command : command.substr(0, 1024) + u"...";
    EXPECT_EQ(platform.shown[0].text,
              CannotExecuteText(shown, u"206 (The filename or extension is too long.)"))
        << length;
  }
}

}  // namespace
}  // namespace linkvane
