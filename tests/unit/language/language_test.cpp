#include "language/language.h"

#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "language/text_ids.h"
#include "launcher/Module_Main.h"

namespace linkvane::language {
namespace {

using testing::FakePlatform;

TEST(Fill, PutsEachValueInItsPlaceOnce) {
  struct Case {
    std::u16string_view text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"{2} before {1}", u"b before a"},
      {u"{1}{1}", u"aa"},
      {u"{3} has no value, {0} and {x} are no places, {1",
       u"{3} has no value, {0} and {x} are no "
       u"places, {1"},
      // What was put in is never read again: a URL may hold "{2}".
      {u"<{1}>", u"<a>"},
  };
  for (const Case& c : cases) EXPECT_EQ(Fill(c.text, {u"a", u"b"}), c.expected);
  EXPECT_EQ(Fill(u"{1} {2}", {u"x{2}y", u"z"}), u"x{2}y z");
}

// A run in the user's language: the box of a shortcut that is not there.
struct RunCase {
  std::uint16_t ui_language;
  const char16_t* forced_tag;  // LINKVANE_LANGUAGE, or null
  std::u16string expected;     // the box's text; the fake's tables hold "de {1}" and "ar {1}"
  bool right_to_left;
};

TEST(UserLanguage, ChoosesTheTextsOfTheRun) {
  const std::u16string english =
      u"Sorry, the given argument (URL file)\r\n\"C:\\a.url\"\r\ncould not be found!";
  const RunCase cases[] = {
      {0x0409, nullptr, english, false},
      {0x0413, nullptr, english, false},  // nl-NL: no table, English
      {0x0C07, nullptr, u"de C:\\a.url", false},
      {0x0C01, nullptr, u"ar \u202AC:\\a.url\u202C", true},
      {0x0411, nullptr, english, false},  // its table lacks the text: English
      {0x0409, u"de-DE", u"de C:\\a.url", false},
      {0x0407, u"en-US", english, false},
      {0x0407, u"xx-unknown", english, false},
  };
  for (const RunCase& c : cases) {
    FakePlatform platform;
    platform.ui_language = c.ui_language;
    if (c.forced_tag) platform.environment[u"LINKVANE_LANGUAGE"] = c.forced_tag;
    platform.string_tables[0x0407][IDS_FILE_NOT_FOUND] = u"de {1}";
    platform.string_tables[0x0401][IDS_FILE_NOT_FOUND] = u"ar {1}";
    platform.string_tables[0x0411][IDS_NO_URL_FOUND] = u"ja";
    platform.full_command_line = u"linkvane.exe C:\\a.url";
    platform.message_answers.push_back(1);
    Module_Main::RunProgram(platform);
    ASSERT_EQ(platform.shown.size(), 1u);
    EXPECT_EQ(platform.shown[0].text, c.expected) << std::hex << c.ui_language;
    EXPECT_EQ(platform.shown[0].title, u"Linkvane");
    EXPECT_EQ(platform.right_to_left, c.right_to_left);
    // Windows' own error texts change language only when one is asked for by name.
    EXPECT_EQ(platform.error_language.has_value(), c.forced_tag != nullptr);
  }
  // Once the run is over, texts are English again.
  EXPECT_EQ(Text(IDS_NO_BROWSER_COMMAND),
            u"Sorry, no browser command to open any weblocation (URL) is defined!");
}

TEST(UserLanguage, AQuickLaunchLoadsNoText) {
  FakePlatform platform;
  platform.ui_language = 0x0407;
  platform.AddFile(u"C:\\Linkvane\\browser.dat", "C:\\b.exe %s");
  platform.AddFile(u"C:\\b.exe", "MZ");
  platform.AddFile(u"C:\\a.url", "[InternetShortcut]\r\nURL=https://example.com/\r\n");
  platform.full_command_line = u"linkvane.exe C:\\a.url";
  Module_Main::RunProgram(platform);
  ASSERT_EQ(platform.started.size(), 1u);
  EXPECT_EQ(platform.texts_loaded, 0);
}

}  // namespace
}  // namespace linkvane::language
