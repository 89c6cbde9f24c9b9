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

TEST(RunCommand, StartsTheExpandedCommandInANormalWindow) {
  FakePlatform platform;
  platform.environment[u"LV_BROWSER"] = u"C:\\b.exe";
  EXPECT_TRUE(RunCommand(platform, u"%LV_BROWSER% \"%LV_MISSING%\"", true));
  EXPECT_TRUE(RunCommand(platform, u"%LV_BROWSER% x", false));
  EXPECT_EQ(platform.started,
            (std::vector<std::u16string>{u"C:\\b.exe \"%LV_MISSING%\"", u"%LV_BROWSER% x"}));
  EXPECT_EQ(platform.show_states, (std::vector<int>{1, 1}));
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
}

TEST(RunCommand, AFailedExpansionLeavesAnEmptyCommandThatCannotStart) {
  FakePlatform platform;
  platform.Fail(Operation::kExpandEnvironment);
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"b.exe http://a/", true));
  EXPECT_TRUE(platform.started.empty());
  ASSERT_EQ(platform.shown.size(), 1u);
  EXPECT_EQ(platform.shown[0].text, CannotExecuteText(u"", u"87 (The command line is empty.)"));

  // When the start fails for its own reason too, that later error is the one reported.
  platform.shown.clear();
  platform.Fail(Operation::kStartProcess, 1155, u"No application is associated.");
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"b.exe http://a/", true));
  ASSERT_EQ(platform.shown.size(), 1u);
  EXPECT_EQ(platform.shown[0].text,
            CannotExecuteText(u"", u"1155 (No application is associated.)"));
}

TEST(RunCommand, AnExpansionThatRaisesLeavesTheCommandUnexpanded) {
  RaisingExpansionPlatform platform;
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"%LV_B% http://a/", true));
  EXPECT_EQ(platform.started, std::vector<std::u16string>{u"%LV_B% http://a/"});
  ASSERT_EQ(platform.shown.size(), 1u);
  EXPECT_EQ(platform.shown[0].text,
            CannotExecuteText(u"%LV_B% http://a/", u"1450 (Insufficient system resources.)"));

  platform.shown.clear();
  platform.Fail(Operation::kStartProcess, 2, u"Not found.");
  platform.message_answers = {1};
  EXPECT_FALSE(RunCommand(platform, u"%LV_B% http://a/", true));
  ASSERT_EQ(platform.shown.size(), 1u);
  EXPECT_EQ(platform.shown[0].text, CannotExecuteText(u"%LV_B% http://a/", u"2 (Not found.)"));
}

TEST(RunCommand, AVeryLongCommandIsShownByItsBeginning) {
  for (std::size_t length : {1023u, 1024u, 1025u, 40000u}) {
    FakePlatform platform;
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
