#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string_view>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"
#include "support/split_arguments.h"

namespace linkvane {
namespace {

using Module_Main::RunProgram;
using testing::DialogAnswer;
using testing::FakePlatform;
using testing::Operation;
using testing::ShownMessage;
using testing::SplitArguments;
using testing::U16;

constexpr std::uint32_t kErrorIcon = 0x10;
constexpr std::uint32_t kQuestionYesNoDefaultNo = 0x124;
constexpr std::uint32_t kErrorYesNoDefaultNo = 0x114;
constexpr std::uint32_t kWarningYesNo = 0x134;

const std::u16string kNoUrlText =
    u"Sorry, there wasn't found an URL inside the URL file.\r\nContinue anyway?";
const std::u16string kSpacesText =
    u"The read URL contains spaces (blank characters) which should not be the case with a proper "
    u"URL.\r\nContinue anyway?";
const std::u16string kNoBrowserText =
    u"Sorry, no browser command to open any weblocation (URL) is defined!";

std::u16string NotFoundText(std::u16string_view argument) {
  return u"Sorry, the given argument (URL file)\r\n\"" + std::u16string(argument) +
         u"\"\r\ncould not be found!";
}

std::u16string CannotExecuteText(std::u16string_view command, std::u16string_view code) {
  return u"Sorry, Windows shell could not execute the defined command:\r\n" +
         std::u16string(command) + u"\r\n\r\nError code = " + std::u16string(code) + u".";
}

// A world with a browser.dat beside the program and one shortcut file, named on the command
// line the way the shell names it.
class LaunchTest : public ::testing::Test {
 protected:
  static constexpr char16_t kShortcut[] = u"C:\\Links\\Example.url";
  static constexpr char16_t kBrowserDat[] = u"C:\\Linkvane\\browser.dat";

  LaunchTest() {
    // The programs the tests' templates name; a program is started only when it is found.
    for (const char16_t* program :
         {u"C:\\Browser\\b.exe", u"C:\\Linkvane\\b.exe", u"C:\\Linkvane\\abcd.exe",
          u"C:\\Reg\\r.exe", u"C:\\Program Files\\b.exe", u"C:\\cmd\\b.exe",
          u"C:\\tools\\cmd.exe.exe", u"C:\\tools\\open.cmd", u"C:\\My Tools\\open.cmd",
          u"C:\\Br\u00E4u\\b.exe", u"D:\\root.exe"}) {
      platform.AddFile(program, "MZ");
    }
    platform.full_command_line = u"\"C:\\Linkvane\\linkvane.exe\" \"C:\\Links\\Example.url\"";
    platform.AddFile(kBrowserDat, "\"C:\\Browser\\b.exe\" \"%s\"\r\n");
    platform.AddFile(kShortcut, "[InternetShortcut]\r\nURL=http://example.com/\r\n");
  }

  void SetUrlLine(const std::string& line) {
    platform.AddFile(kShortcut, "[InternetShortcut]\r\n" + line + "\r\n");
  }

  // Runs the program; checks that every scripted answer was used.
  int Run() {
    const int status = RunProgram(platform);
    EXPECT_TRUE(platform.message_answers.empty()) << "a scripted message box was not shown";
    EXPECT_TRUE(platform.dialog_answers.empty()) << "a scripted dialog was not shown";
    return status;
  }

  void ExpectOneMessage(const std::u16string& text, std::uint32_t flags) {
    ASSERT_EQ(platform.shown.size(), 1u);
    EXPECT_EQ(platform.shown[0].text, text);
    EXPECT_EQ(platform.shown[0].flags, flags);
    EXPECT_EQ(platform.shown[0].title, u"Linkvane");
  }

  FakePlatform platform;
};

TEST_F(LaunchTest, StartsTheBrowserWithTheUrlInANormalWindow) {
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(platform.shown.empty());
  ASSERT_EQ(platform.started.size(), 1u);
  EXPECT_EQ(platform.started[0], u"\"C:\\Browser\\b.exe\" \"http://example.com/\"");
  EXPECT_EQ(platform.show_states, std::vector<int>{1});
}

TEST_F(LaunchTest, AMissingShortcutIsReportedWithThePreparedPath) {
  struct Case {
    std::u16string_view arguments, shown_path;
  };
  const Case cases[] = {
      {u"  \"C:\\Links\\Missing.url\"  ", u"C:\\Links\\Missing.url"},
      {u"\" C:\\Links\\Example.url \"", u" C:\\Links\\Example.url "},
      {u"file:///C:/Links/No%20such.url", u"C:\\Links\\No such.url"},
      // Two quotes are an argument, not the absence of one: no dialog, and nothing between the
      // quotes of the message.
      {u"\"\"", u""},
      {u"\"", u""},
      {u"C:\\Links", u"C:\\Links"},
  };
  platform.folders.insert(u"C:\\Links");
  platform.AddFile(u"C:\\Links", "");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.arguments));
    platform.shown.clear();
    platform.full_command_line = u"linkvane.exe " + std::u16string(c.arguments);
    platform.message_answers = {1};
    EXPECT_EQ(Run(), 1);
    ExpectOneMessage(NotFoundText(c.shown_path), kErrorIcon);
    EXPECT_TRUE(platform.started.empty());
    EXPECT_TRUE(platform.dialogs.empty());
  }
}

TEST_F(LaunchTest, WithoutATemplateFromEitherSourceTellsThatNoBrowserIsDefined) {
  const std::string unusable[] = {"", "abc\r\nlonger second line", "%s\r\n"};
  for (const std::string& contents : unusable) {
    SCOPED_TRACE(contents);
    platform.shown.clear();
    platform.AddFile(kBrowserDat, contents);
    platform.message_answers = {1};
    EXPECT_EQ(Run(), 1);
    ExpectOneMessage(kNoBrowserText, kErrorIcon);
  }
  platform.files.erase(kBrowserDat);
  platform.shown.clear();
  platform.message_answers = {1};
  EXPECT_EQ(Run(), 1);
  ExpectOneMessage(kNoBrowserText, kErrorIcon);
  EXPECT_TRUE(platform.started.empty());
}

TEST_F(LaunchTest, AThreeCharacterTemplateFallsBackToTheRegistry) {
  platform.AddFile(kBrowserDat, "abc\r\n");
  platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"",
                           u"\"C:\\Reg\\r.exe\" -osint -url \"%1\"");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.started,
            std::vector<std::u16string>{u"\"C:\\Reg\\r.exe\" -osint -url \"http://example.com/\""});
}

TEST_F(LaunchTest, AFourCharacterTemplateIsUsedAsItStands) {
  platform.AddFile(kBrowserDat, "abcd\r\nignored %s");
  platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"",
                           u"\"C:\\Reg\\r.exe\" \"%1\"");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.started, std::vector<std::u16string>{u"\"C:\\Linkvane\\abcd.exe\""});
  EXPECT_EQ(platform.registry_calls, 1) << "only the user's own folder is looked up";
}

TEST_F(LaunchTest, TheTemplateReceivesTheUrlAtEveryPlaceholder) {
  using namespace std::string_view_literals;
  struct Case {
    std::string_view browser_dat;
    std::u16string_view started;
  };
  const Case cases[] = {
      {"b.exe %S\r\n", u"\"C:\\Linkvane\\b.exe\" http://example.com/"},
      {"b.exe %s --also=%s",
       u"\"C:\\Linkvane\\b.exe\" http://example.com/ --also=http://example.com/"},
      {"b.exe --home\r\n", u"\"C:\\Linkvane\\b.exe\" --home"},
      // Line feeds alone end the first line too; a byte-order mark is not part of it.
      {"b.exe %s\nsecond line\n", u"\"C:\\Linkvane\\b.exe\" http://example.com/"},
      {"\xEF\xBB\xBF"
       "b.exe %s\r\n",
       u"\"C:\\Linkvane\\b.exe\" http://example.com/"},
      {"\xFF\xFE"
       "b\0.\0e\0x\0e\0 \0%\0s\0\r\0\n\0"sv,
       u"\"C:\\Linkvane\\b.exe\" http://example.com/"},
      {"\xFE\xFF"
       "\0b\0.\0e\0x\0e\0 \0%\0s"sv,
       u"\"C:\\Linkvane\\b.exe\" http://example.com/"},
      {"\"C:\\Br\xC3\xA4u\\b.exe\" %s", u"\"C:\\Br\u00E4u\\b.exe\" http://example.com/"},
      {"\"C:\\Br\xE4u\\b.exe\" %s", u"\"C:\\Br\u00E4u\\b.exe\" http://example.com/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.browser_dat));
    platform.started.clear();
    platform.AddFile(kBrowserDat, std::string(c.browser_dat));
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(platform.started, std::vector<std::u16string>{std::u16string(c.started)});
  }
}

TEST_F(LaunchTest, TheUsersOwnTemplateComesBeforeTheComputersAndIsJudgedAlike) {
  struct Case {
    const char16_t* recorded;  // the user's Local AppData as the registry records it
    const char16_t* user_file;
    std::string bytes;
    std::u16string started;  // empty: refused (M5)
  };
  const Case cases[] = {
      {u"%USERPROFILE%\\Local", u"C:\\me\\Local\\Linkvane\\browser.dat",
       "\xEF\xBB\xBF"
       "C:\\Reg\\r.exe %s\r\nb",
       u"\"C:\\Reg\\r.exe\" http://example.com/"},
      {u"%NOSUCHVARIABLE%", u"C:\\Env\\Linkvane\\browser.dat", "C:\\Reg\\r.exe -e %s",
       u"\"C:\\Reg\\r.exe\" -e http://example.com/"},
      {u"D:\\Local\\", u"D:\\Local\\Linkvane\\browser.dat", "abc\r\nr.exe %s",
       u"\"C:\\Browser\\b.exe\" \"http://example.com/\""},
      {u"D:\\Local", u"D:\\Local\\Linkvane\\browser.dat", "\"C:\\tools\\open.cmd\" %s", u""},
  };
  platform.environment = {{u"USERPROFILE", u"C:\\me"}, {u"LOCALAPPDATA", u"C:\\Env"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.user_file));
    platform.started.clear();
    platform.SetRegistryText(
        kHkeyCurrentUser,
        u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
        u"Local AppData", c.recorded, kRegExpandSz);
    platform.AddFile(c.user_file, c.bytes);
    if (c.started.empty()) platform.message_answers = {1};
    EXPECT_EQ(Run(), c.started.empty() ? 2 : 0);
    EXPECT_EQ(platform.started,
              c.started.empty() ? std::vector<std::u16string>{} : std::vector{c.started});
    platform.files.erase(c.user_file);
  }
}

TEST_F(LaunchTest, BrowserDatIsLookedForBesideTheProgramEvenAtADriveRoot) {
  platform.executable_directory = u"D:\\";
  platform.files.erase(kBrowserDat);
  platform.AddFile(u"D:\\browser.dat", "root.exe %s");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.started, std::vector<std::u16string>{u"\"D:\\root.exe\" http://example.com/"});
}

TEST_F(LaunchTest, AnEmptyUrlAsksWhetherToGoOn) {
  const std::string no_url_files[] = {
      "[InternetShortcut]\r\nIconIndex=1\r\n",
      "[InternetShortcut]\r\nURL=\r\nURL=http://later.example/\r\n",
      "[InternetShortcut]\r\nURL=     \r\n",
      "",
  };
  for (const std::string& contents : no_url_files) {
    SCOPED_TRACE(contents);
    platform.AddFile(kShortcut, contents);

    platform.shown.clear();
    platform.message_answers = {kIdNo};
    EXPECT_EQ(Run(), 1);
    ExpectOneMessage(kNoUrlText, kQuestionYesNoDefaultNo);
    EXPECT_TRUE(platform.started.empty());

    platform.shown.clear();
    platform.message_answers = {kIdYes};
    EXPECT_EQ(Run(), 0);
    ExpectOneMessage(kNoUrlText, kQuestionYesNoDefaultNo);
    EXPECT_EQ(platform.started, std::vector<std::u16string>{u"\"C:\\Browser\\b.exe\" \"\""});
    platform.started.clear();
  }
}

TEST_F(LaunchTest, AQuestionThatGetsNoClearYesEndsTheRun) {
  // 0 is what a message box that could not be shown returns.
  for (int answer : {kIdNo, 0, 2}) {
    platform.shown.clear();
    SetUrlLine("URL=http://a.example/x y");
    platform.message_answers = {answer};
    EXPECT_EQ(Run(), 1);
    SetUrlLine("URL=");
    platform.message_answers = {answer};
    EXPECT_EQ(Run(), 1);
  }
  EXPECT_TRUE(platform.started.empty());
}

TEST_F(LaunchTest, AUrlWithInnerSpacesAsksWhetherToGoOn) {
  SetUrlLine("URL=  http://a.example/x y  ");
  platform.message_answers = {kIdNo};
  EXPECT_EQ(Run(), 1);
  ExpectOneMessage(kSpacesText, kErrorYesNoDefaultNo);
  EXPECT_TRUE(platform.started.empty());

  platform.shown.clear();
  platform.message_answers = {kIdYes};
  EXPECT_EQ(Run(), 0);
  ExpectOneMessage(kSpacesText, kErrorYesNoDefaultNo);
  // Let through, the URL still reaches the browser as one argument.
  EXPECT_EQ(platform.started,
            std::vector<std::u16string>{u"\"C:\\Browser\\b.exe\" \"http://a.example/x%20y\""});
}

TEST_F(LaunchTest, TabsAndLineBreaksAreNoSpaces) {
  platform.full_command_line = u"linkvane.exe C:\\Links\\Indented.webloc";
  platform.AddFile(u"C:\\Links\\Indented.webloc",
                   "<plist><dict>\n\t<key>URL</key>\n\t<string>\n        http://a.example/\n"
                   "\t\tpath\n    </string>\n</dict></plist>\n");
  EXPECT_EQ(Run(), 0);
  EXPECT_TRUE(platform.shown.empty());
  EXPECT_EQ(platform.started,
            std::vector<std::u16string>{u"\"C:\\Browser\\b.exe\" \"http://a.example/path\""});
}

TEST_F(LaunchTest, AnInjectedSwitchStaysInsideTheUrlArgument) {
  platform.AddFile(kBrowserDat, "\"C:\\Browser\\b.exe\" --single-argument %s");
  SetUrlLine("URL=-x\" --gpu-launcher=\"calc.exe\\");
  platform.message_answers = {kIdYes, kIdYes};  // spaces, and no web address
  EXPECT_EQ(Run(), 0);
  ASSERT_EQ(platform.started.size(), 1u);
  const std::vector<std::u16string> expected = {u"C:\\Browser\\b.exe", u"--single-argument",
                                                u"%2Dx%22%20--gpu-launcher=%22calc.exe\\"};
  EXPECT_EQ(SplitArguments(platform.started[0]), expected);
}

TEST_F(LaunchTest, TheReaderIsChosenByTheWeblocEndingInAnyCase) {
  // Both readers find a URL in this text, each its own.
  const std::string both =
      "<plist><dict><key>URL</key><string>http://xml.example/</string></dict></plist>\n"
      "URL=http://line.example/\n";
  struct Case {
    std::u16string_view path;
    std::u16string_view url;
  };
  const Case cases[] = {
      {u"C:\\Links\\a.webloc", u"http://xml.example/"},
      {u"C:\\Links\\A.WEBLOC", u"http://xml.example/"},
      {u"C:\\Links\\a.WebLoc", u"http://xml.example/"},
      {u"C:\\Links\\a.webloc.txt", u"http://line.example/"},
      {u"C:\\Links\\a.url", u"http://line.example/"},
      {u"C:\\Links\\a.desktop", u"http://line.example/"},
      {u"C:\\Links\\webloc", u"http://line.example/"},
  };
  platform.AddFile(kBrowserDat, "b.exe %s");
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.path));
    platform.started.clear();
    platform.AddFile(std::u16string(c.path), both);
    platform.full_command_line = u"linkvane.exe \"" + std::u16string(c.path) + u"\"";
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(platform.started,
              std::vector<std::u16string>{u"\"C:\\Linkvane\\b.exe\" " + std::u16string(c.url)});
  }
}

// The URL and each stretch of the template are expanded apart and once; what the environment
// brings into the URL is asked about (M7), then encoded like the rest of it.
TEST_F(LaunchTest, TheUrlAndTheTemplateAreExpandedApart) {
  struct Case {
    std::string_view browser_dat, url_line;
    std::vector<std::uint32_t> questions;  // each answered Yes
    std::u16string_view started;
  };
  const Case cases[] = {
      // A quote in a variable's value cannot end the URL's argument.
      {"\"B\" \"%s\"",
       "URL=https://ex.example/%LV_Q%",
       {kErrorYesNoDefaultNo, kWarningYesNo},
       u"\"B\" \"https://ex.example/a%22%20--evil\""},
      {"\"B\" %s",
       "URL=https://ex.example/%ProgramFiles%",
       {kErrorYesNoDefaultNo, kWarningYesNo},
       u"\"B\" https://ex.example/C:\\Program%20Files"},
      // A value's final backslash is doubled before the template's quote.
      {"\"B\" \"%s\" --after",
       "URL=https://ex.example/%LV_BS%",
       {kWarningYesNo},
       u"\"B\" \"https://ex.example/dir\\\\\" --after"},
      {"\"B\" %s", "URL=%LV_DASH%", {kWarningYesNo, kWarningYesNo}, u"\"B\" %2Dx"},
      // The URL's percent signs pair with nothing of the template's.
      {"\"B\" \"%s\" --data=%LV_DATA%",
       "URL=https://ex.example/a%2Fb",
       {},
       u"\"B\" \"https://ex.example/a%2Fb\" --data=d"},
      {"\"%ProgramFiles%\\b.exe\" \"%s\"",
       "URL=http://a/%UNDEFINED%/100%",
       {},
       u"\"C:\\Program Files\\b.exe\" \"http://a/%UNDEFINED%/100%\""},
      {"\"B\" \"%s\"", "URL=http://%LV_HOST%/", {kWarningYesNo}, u"\"B\" \"http://intranet/\""},
      // A value is expanded once: the reference it holds stays as written.
      {"\"B\" %s", "URL=http://a/%LV_PCT%", {kWarningYesNo}, u"\"B\" http://a/%LV_Q%"},
      // The expansion never meets a NUL: it is encoded first.
      {"\"B\" %s",
       std::string_view("URL=http://%LV_HOST%/\0x", 23),
       {kWarningYesNo},
       u"\"B\" http://intranet/%00x"},
  };
  platform.environment = {{u"LV_Q", u"a\" --evil"}, {u"ProgramFiles", u"C:\\Program Files"},
                          {u"LV_BS", u"dir\\"},     {u"LV_DASH", u"-x"},
                          {u"LV_DATA", u"d"},       {u"LV_HOST", u"intranet"},
                          {u"LV_PCT", u"%LV_Q%"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.url_line));
    platform.shown.clear();
    platform.started.clear();
    platform.AddFile(kBrowserDat, std::string(c.browser_dat));
    SetUrlLine(std::string(c.url_line));
    platform.message_answers.assign(c.questions.size(), kIdYes);
    EXPECT_EQ(Run(), 0);
    std::vector<std::uint32_t> asked;
    for (const ShownMessage& box : platform.shown) asked.push_back(box.flags);
    EXPECT_EQ(asked, c.questions);
    EXPECT_EQ(platform.started, std::vector<std::u16string>{std::u16string(c.started)});
  }
}

// On 64-bit Windows the template's %ProgramFiles% is the folder the user sees, not the x86
// one that a 32-bit program is given; the URL and the environment stay as they are.
TEST_F(LaunchTest, ProgramFilesInATemplateIsTheFolderTheUserSees) {
  struct Case {
    bool wow64;
    std::string_view browser_dat, url_line;
    std::u16string_view started;
  };
  const Case cases[] = {
      {true, "\"%ProgramFiles%\\b.exe\" %s", "URL=http://a/",
       u"\"C:\\Program Files\\b.exe\" http://a/"},
      {true, "\"%PROGRAMFILES%\\b.exe\" %s", "URL=http://a/",
       u"\"C:\\Program Files\\b.exe\" http://a/"},
      {true, "\"%CommonProgramFiles%\\b.exe\" %s", "URL=http://a/",
       u"\"C:\\Program Files\\Common Files\\b.exe\" http://a/"},
      {true, "\"%ProgramFiles(x86)%\\b.exe\" %s", "URL=http://a/",
       u"\"C:\\Program Files (x86)\\b.exe\" http://a/"},
      {true, "\"C:\\%LV_A%ProgramFiles%\\b.exe\" %s", "URL=http://a/",
       u"\"C:\\xProgramFiles%\\b.exe\" http://a/"},
      {true, "\"%ProgramFiles%\\b.exe\" %s", "URL=http://a/%ProgramFiles%",
       u"\"C:\\Program Files\\b.exe\" http://a/C:\\Program%20Files%20(x86)"},
      {false, "\"%ProgramFiles%\\b.exe\" %s", "URL=http://a/",
       u"\"C:\\Program Files (x86)\\b.exe\" http://a/"},
  };
  platform.environment = {{u"ProgramFiles", u"C:\\Program Files (x86)"},
                          {u"ProgramFiles(x86)", u"C:\\Program Files (x86)"},
                          {u"ProgramW6432", u"C:\\Program Files"},
                          {u"CommonProgramFiles", u"C:\\Program Files (x86)\\Common Files"},
                          {u"CommonProgramW6432", u"C:\\Program Files\\Common Files"},
                          {u"LV_A", u"x"}};
  for (const char16_t* program :
       {u"C:\\Program Files (x86)\\b.exe", u"C:\\Program Files\\Common Files\\b.exe",
        u"C:\\xProgramFiles%\\b.exe"}) {
    platform.AddFile(program, "MZ");
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.browser_dat) + " " + std::string(c.url_line));
    platform.started.clear();
    platform.shown.clear();
    platform.under_wow64 = c.wow64;
    platform.AddFile(kBrowserDat, std::string(c.browser_dat));
    SetUrlLine(std::string(c.url_line));
    if (c.url_line.find('%') != std::string_view::npos) platform.message_answers = {kIdYes, kIdYes};
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(platform.started, std::vector<std::u16string>{std::u16string(c.started)});
  }
}

TEST_F(LaunchTest, AUrlThatTakesValuesFromTheComputerAsksFirst) {
  platform.environment[u"USERNAME"] = u"alice";
  SetUrlLine("URL=https://evil.example/?u=%USERNAME%");
  for (int answer : {kIdNo, 0}) {
    platform.shown.clear();
    platform.message_answers = {answer};
    EXPECT_EQ(Run(), 1);
    ExpectOneMessage(
        u"This shortcut puts values from your computer into its web address:\r\n"
        u"https://evil.example/?u=alice\r\nContinue anyway?",
        kWarningYesNo);
  }
  EXPECT_TRUE(platform.started.empty());
}

TEST_F(LaunchTest, AFailedExpansionStartsNothing) {
  SetUrlLine("URL=http://a/\x01%LV_X%");
  platform.Fail(Operation::kExpandEnvironment);
  platform.message_answers = {1};
  EXPECT_EQ(Run(), 2);
  // The command as the files spell it, before any expansion.
  ExpectOneMessage(CannotExecuteText(u"\"C:\\Browser\\b.exe\" \"http://a/%01%LV_X%\"",
                                     u"13 (The environment references could not be expanded.)"),
                   kErrorIcon);
  EXPECT_TRUE(platform.started.empty());
}

TEST_F(LaunchTest, ABatchFileOrCmdIsNeverGivenAUrl) {
  struct Case {
    std::string_view browser_dat;
    bool refused;
  };
  const Case cases[] = {
      {"\"C:\\tools\\open.cmd\" %s", true},
      {"C:\\tools\\OPEN.BAT. \"%s\"", true},
      {"cmd /c start \"\" %s", true},
      {"\"%LV_DIR%\\cmd.exe\" /c %s", true},
      {"\"C:\\tools\\open.cmd\" --home", false},
      {"\"C:\\cmd\\b.exe\" %s", false},
      {"C:\\tools\\cmd.exe.exe %s", false},
      // Found as Windows finds an unquoted path with blanks, or through App Paths: judged by
      // the file it is.
      {"C:\\My Tools\\open.cmd %s", true},
      {"apbatch %s", true},
      // Script hosts run what the URL names, or parse it as script.
      {"powershell.exe \"%s\"", true},
      {"\"C:\\Program Files\\PowerShell\\7\\PWSH\" %s", true},
      {"C:\\Windows\\System32\\mshta.exe %s", true},
      {"wscript %s", true},
      {"\"C:\\cmd\\b.exe\" --cscript %s", false},
  };
  platform.environment[u"LV_DIR"] = u"C:\\Windows\\System32";
  platform.SetRegistryText(kHkeyLocalMachine,
                           u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\apbatch.exe",
                           u"", u"C:\\tools\\open.cmd");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.browser_dat));
    platform.shown.clear();
    platform.started.clear();
    platform.AddFile(kBrowserDat, std::string(c.browser_dat));
    if (c.refused) platform.message_answers = {1};
    EXPECT_EQ(Run(), c.refused ? 2 : 0);
    EXPECT_EQ(platform.started.empty(), c.refused);
    if (c.refused) {
      ASSERT_EQ(platform.shown.size(), 1u);
      EXPECT_NE(platform.shown[0].text.find(
                    u"Error code = 50 (A batch file or cmd.exe cannot be given a URL safely; "
                    u"name the browser's program instead.)."),
                std::u16string::npos);
    }
  }
}

TEST_F(LaunchTest, AnAddressThatIsNoWebPageAsksFirst) {
  struct Case {
    std::string_view url;
    bool asked;
    std::string_view browser_dat = "\"C:\\Browser\\b.exe\" \"%s\"";
  };
  const Case cases[] = {
      {"http://a.example/", false},
      {"HTTPS://a.example/", false},
      {"mailto:a@example.com", false},
      {"file:///C:/Users/Public/a.html", false},
      {"file:C:\\Users\\a.html", false},
      {"file://localhost/D|/a.html", false},
      {"file:///c:", false},
      {"file://host.example/share/page.html", true},
      {"file:////host.example/share/page.html", true},
      {"\\\\host.example\\share\\page.html", true},
      {"file:\\\\.\\globalroot\\device\\condrv\\kernelconnect", true},
      {"file:///C:/a/CON.txt", true},
      {"file:///C:/a/com1", true},
      {"file:///C:/a%2Fnul/b", true},
      {"file:///C:/a:stream", true},
      {"file://///C:/a", true},
      {"file:///CC:/a", true},
      {"javascript:alert(1)", true},
      {"data:text/html,x", true},
      {"ms-settings:privacy", true},
      // Browsers hand ftp: to another program; a network drive is another computer's.
      {"ftp://a.example/", true},
      {"file:///n:/a.html", true},
      {"file:///Q:/a.html", true},
      {"file:///U:/a.html", true},
      // Explorer and rundll32 run a local program as readily as they open a page.
      {"file:///C:/Users/Public/a.exe", true, "\"C:\\Windows\\explorer.exe\" \"%s\""},
      {"mailto:a@example.com", true, "rundll32.exe url.dll,FileProtocolHandler %s"},
      {"HTTPS://a.example/", false, "EXPLORER %s"},
      {"http://a.example/", false, "rundll32 url.dll,FileProtocolHandler %s"},
  };
  platform.AddFile(u"C:\\Windows\\explorer.exe", "MZ");
  platform.AddFile(u"C:\\Windows\\System32\\rundll32.exe", "MZ");
  platform.drive_types = {{u'n', kDriveRemote}, {u'q', kDriveNoRootDir}, {u'u', kDriveUnknown}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.url));
    platform.shown.clear();
    platform.started.clear();
    SetUrlLine("URL=" + std::string(c.url));
    platform.AddFile(kBrowserDat, std::string(c.browser_dat));
    if (c.asked) platform.message_answers = {kIdNo};
    EXPECT_EQ(Run(), c.asked ? 1 : 0);
    EXPECT_EQ(platform.started.empty(), c.asked);
    if (c.asked) {
      ExpectOneMessage(
          u"This shortcut does not lead to a web page:\r\n" + U16(c.url) + u"\r\nContinue anyway?",
          kWarningYesNo);
    }
  }
}

// The browser's program is found without the current folder, and started by its full path.
TEST_F(LaunchTest, TheProgramIsFoundWhereWindowsKeepsPrograms) {
  struct Case {
    std::string_view browser_dat;
    std::u16string_view application;  // "" when nothing may start
  };
  const Case cases[] = {
      {"\"C:\\Browser\\b\" %s", u"C:\\Browser\\b.exe"},
      {"b %s", u"C:\\Linkvane\\b.exe"},
      {"sys %s", u"C:\\Windows\\System32\\sys.exe"},
      {"win.com %s", u"C:\\Windows\\win.com"},
      {"onpath %s", u"D:\\Tools\\onpath.exe"},
      {"C:\\Program Files\\b.exe --x %s", u"C:\\Program Files\\b.exe"},
      {"\\\\server\\share\\b.exe %s", u"\\\\server\\share\\b.exe"},
      // Never the current folder, nor a relative path, nor a name that reaches into the URL.
      {"tools\\b.exe %s", u""},
      {".\\b.exe %s", u""},
      {"here %s", u""},
      {"C:\\Program Files\\Missing\\b.exe %s", u""},
      {"C:\\Missing\\b.exe %s --x", u""},
      // Then App Paths, as the Run box: the user's entry, else the machine's, when it names a file
      // by its full path; an expandable one sees %ProgramFiles% as the user does.
      {"apuser %s", u"C:\\Apps\\user.exe"},
      {"\"apmachine.exe\" %s", u"C:\\Program Files\\M\\m.exe"},
      {"apstale %s", u"C:\\Program Files\\M\\m.exe"},
      {"aprelative %s", u""},
      // A Store app's execution alias cannot be opened, but it is a program.
      {"alias %s", u"D:\\Tools\\alias.exe"},
  };
  const std::u16string app_paths = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
  platform.SetRegistryText(kHkeyCurrentUser, app_paths + u"apuser.exe", u"",
                           u" \"C:\\Apps\\user.exe\"");
  platform.SetRegistryText(kHkeyLocalMachine, app_paths + u"apuser.exe", u"",
                           u"C:\\Windows\\win.com");
  platform.SetRegistryText(kHkeyLocalMachine, app_paths + u"apmachine.exe", u"",
                           u"C:\\Program Files\\M\\m.exe");
  platform.SetRegistryText(kHkeyCurrentUser, app_paths + u"apstale.exe", u"", u"C:\\Gone\\b.exe");
  platform.SetRegistryText(kHkeyLocalMachine, app_paths + u"apstale.exe", u"",
                           u"%ProgramFiles%\\M\\m.exe", kRegExpandSz);
  platform.SetRegistryText(kHkeyLocalMachine, app_paths + u"aprelative.exe", u"", u"M\\m.exe");
  platform.under_wow64 = true;
  platform.environment[u"ProgramFiles"] = u"C:\\Program Files (x86)";
  platform.environment[u"ProgramW6432"] = u"C:\\Program Files";
  platform.environment[u"PATH"] = u"relative;;\"D:\\Tools\";C:\\Missing";
  platform.execution_aliases.insert(u"D:\\Tools\\alias.exe");
  for (const char16_t* program :
       {u"C:\\Windows\\System32\\sys.exe", u"C:\\Windows\\win.com", u"D:\\Tools\\onpath.exe",
        u"\\\\server\\share\\b.exe", u"relative\\here.exe", u"C:\\Apps\\user.exe",
        u"C:\\Program Files\\M\\m.exe", u"M\\m.exe",
        u"C:\\Missing\\b.exe http://example.com/.exe"}) {
    platform.AddFile(program, "MZ");
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.browser_dat));
    platform.shown.clear();
    platform.started_applications.clear();
    platform.AddFile(kBrowserDat, std::string(c.browser_dat));
    if (c.application.empty()) platform.message_answers = {1};
    EXPECT_EQ(Run(), c.application.empty() ? 2 : 0);
    if (c.application.empty()) {
      EXPECT_TRUE(platform.started_applications.empty());
      ASSERT_EQ(platform.shown.size(), 1u);
      EXPECT_NE(platform.shown[0].text.find(u"Error code = 2 ("), std::u16string::npos);
    } else {
      EXPECT_EQ(platform.started_applications,
                std::vector<std::u16string>{std::u16string(c.application)});
      // Named by the path found, whole, and started in its folder.
      const std::u16string argv0 = SplitArguments(platform.started.back()).front();
      EXPECT_EQ(argv0, c.browser_dat[0] == '"' ? argv0 : c.application);
      EXPECT_EQ(platform.started_directories.back(),
                c.application.substr(0, c.application.rfind(u'\\')));
    }
  }
}

TEST_F(LaunchTest, ANonAsciiShortcutPathIsFound) {
  const std::u16string path =
      U16("C:\\Links\\\xE5\xAE\x98\xE6\x96\xB9 (\xE3\x82\x9C-\xE3\x82\x9C).url");
  platform.AddFile(path, "URL=http://example.cn/\n");
  platform.full_command_line = u"linkvane.exe \"" + path + u"\"";
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.started.size(), 1u);

  platform.started.clear();
  platform.full_command_line = U16(
      "linkvane.exe file:///C:/Links/\xE5\xAE\x98\xE6\x96\xB9%20(\xE3\x82\x9C-\xE3\x82\x9C).url");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.started.size(), 1u);
}

// A Store browser's ProgId has a delegate instead of a command: the shell opens the URL with it,
// after the same questions, encoded as always. A stale choice, whose ProgId is gone, still falls
// back.
TEST_F(LaunchTest, AStoreBrowserIsOpenedByTheShell) {
  const std::u16string url = u"http://example.com/a%E2%81%84b";
  platform.files.erase(kBrowserDat);
  SetUrlLine(
      "URL=http://example.com/a\xE2\x81\x84"
      "b");
  platform.SetRegistryText(
      kHkeyCurrentUser,
      u"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice",
      u"ProgId", u"AppXlv");
  platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"",
                           u"\"C:\\Reg\\r.exe\" %1");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.started, std::vector<std::u16string>{u"\"C:\\Reg\\r.exe\" " + url});
  platform.SetRegistryText(kHkeyCurrentUser, u"Software\\Classes\\AppXlv\\shell\\open\\command",
                           u"DelegateExecute", u"{4ED3A719-CEA8-4BD9-910D-E252F997AFC2}");
  EXPECT_EQ(Run(), 0);
  EXPECT_EQ(platform.opened_with_class, std::vector<std::u16string>{u"AppXlv " + url});
  platform.Fail(Operation::kOpenWithClass, 1155, u"No association.");
  platform.message_answers = {1};
  EXPECT_EQ(Run(), 2);
  ExpectOneMessage(CannotExecuteText(u"AppXlv " + url, u"1155 (No association.)"), kErrorIcon);
  SetUrlLine("URL=javascript:x");
  platform.message_answers = {kIdNo};
  EXPECT_EQ(Run(), 1);
  EXPECT_EQ(platform.started.size() + platform.opened_with_class.size(), 2u);
}

TEST_F(LaunchTest, AFailedStartIsReportedWithTheErrorAndTheCommand) {
  platform.Fail(Operation::kStartProcess, 2, u"File not found.");
  platform.message_answers = {1};
  EXPECT_EQ(Run(), 2);
  ExpectOneMessage(
      CannotExecuteText(u"\"C:\\Browser\\b.exe\" \"http://example.com/\"", u"2 (File not found.)"),
      kErrorIcon);
}

TEST_F(LaunchTest, WithoutAnArgumentTheOpenDialogPicksTheFile) {
  for (std::u16string_view command_line :
       {u"linkvane.exe", u"linkvane.exe ", u"\"C:\\Linkvane\\linkvane.exe\"\t "}) {
    SCOPED_TRACE(testing::U8(command_line));
    platform.full_command_line = command_line;
    platform.started.clear();
    platform.dialogs.clear();
    platform.dialog_answers = {DialogAnswer{true, kShortcut, 0}};
    EXPECT_EQ(Run(), 0);
    EXPECT_EQ(platform.dialogs.size(), 1u);
    EXPECT_EQ(platform.started.size(), 1u);
  }
}

TEST_F(LaunchTest, ACancelledOrFailedDialogEndsTheRunSilently) {
  platform.full_command_line = u"linkvane.exe";
  for (std::uint32_t error : {0u, 0x3003u}) {
    platform.dialog_answers = {DialogAnswer{false, u"", error}};
    EXPECT_EQ(Run(), 1);
  }
  EXPECT_TRUE(platform.shown.empty());
  EXPECT_TRUE(platform.started.empty());
}

TEST_F(LaunchTest, AnUncaughtReadErrorIsReported) {
  platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"",
                           u"\"C:\\Reg\\r.exe\" \"%1\"");
  for (Operation failing : {Operation::kReadFile, Operation::kOpenFile}) {
    platform.shown.clear();
    platform.Fail(failing, 32, u"The process cannot access the file.");
    platform.message_answers = {1};
    EXPECT_EQ(Run(), 3);
    ASSERT_EQ(platform.shown.size(), 1u);
    EXPECT_NE(platform.shown[0].text.find(u"Error code = 32 (The process cannot access the file.)"),
              std::u16string::npos);
    EXPECT_EQ(platform.shown[0].flags, kErrorIcon);
    EXPECT_EQ(platform.shown[0].title, u"Linkvane");
    EXPECT_TRUE(platform.started.empty());
    platform.Succeed(failing);
  }
}

// A platform whose executable directory cannot be found, for an exception of any type.
template <typename Exception>
class ThrowingPlatform : public FakePlatform {
 public:
  explicit ThrowingPlatform(Exception exception) : exception_(exception) {}
  std::u16string ExecutableDirectory() override { throw exception_; }

 private:
  Exception exception_;
};

template <typename Exception>
ShownMessage ReportOf(Exception exception) {
  ThrowingPlatform<Exception> platform(exception);
  platform.full_command_line = u"linkvane.exe C:\\a.url";
  platform.AddFile(u"C:\\a.url", "URL=http://example.com/");
  platform.message_answers = {1};
  EXPECT_EQ(RunProgram(platform), 3);
  EXPECT_TRUE(platform.started.empty());
  EXPECT_EQ(platform.shown.size(), 1u);
  return platform.shown.empty() ? ShownMessage{} : platform.shown[0];
}

TEST(RunProgram, ReportsEveryKindOfUncaughtError) {
  struct Expected {
    ShownMessage shown;
    std::u16string_view code;
  };
  const Expected cases[] = {
      {ReportOf(PlatformError(1359, u"An internal error occurred.")),
       u"Error code = 1359 (An internal error occurred.)."},
      {ReportOf(std::bad_alloc()), u"Error code = 8 ("},
      {ReportOf(std::runtime_error("broken state")), u"(broken state)."},
      {ReportOf(42), u"Error code = -1 ("},
  };
  for (const Expected& c : cases) {
    EXPECT_NE(c.shown.text.find(c.code), std::u16string::npos) << testing::U8(c.shown.text);
    EXPECT_EQ(c.shown.flags, kErrorIcon);
    EXPECT_EQ(c.shown.title, u"Linkvane");
  }
}

}  // namespace
}  // namespace linkvane
