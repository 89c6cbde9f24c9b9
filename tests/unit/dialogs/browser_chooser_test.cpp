#include "dialogs/browser_chooser.h"

#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"

namespace linkvane {
namespace {

using testing::ChooserStep;
using testing::U16;
using testing::U8;

constexpr char16_t kUserFile[] = u"C:\\Users\\me\\AppData\\Local\\Linkvane\\browser.dat";
constexpr char16_t kA[] = u"\"C:\\A\\a.exe\" %s";
constexpr char16_t kZ[] = u"\"C:\\Z\\z.exe\" -osint -url \"%s\"";

std::string Utf16Le(std::u16string_view text) {
  std::string bytes;
  for (const char16_t c : text) bytes += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  return bytes;
}

// A user with a local application-data folder, and browsers registered as Windows lists them:
// for the user, and in both views of the computer's registry.
class ChooserTest : public ::testing::Test {
 protected:
  ChooserTest() {
    p.under_wow64 = true;
    p.SetRegistryText(kHkeyCurrentUser,
                      u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                      u"Local AppData", u"C:\\Users\\me\\AppData\\Local");
    p.folders.insert(u"C:\\Users\\me\\AppData\\Local");
    for (const char16_t* program : {u"C:\\A\\a.exe", u"C:\\M\\m.exe", u"C:\\Z\\z.exe"}) {
      p.AddFile(program, "MZ");
    }
    const std::u16string clients = u"Software\\Clients\\StartMenuInternet\\";
    p.SetRegistryText(kHkeyCurrentUser, clients + u"Zed\\Capabilities", u"ApplicationName",
                      u"@z.exe,-1");
    p.indirect_strings[u"@z.exe,-1"] = u"Zeta";
    p.SetRegistryText(kHkeyCurrentUser, clients + u"Zed\\Capabilities\\URLAssociations", u"http",
                      u"ZetaURL");
    p.SetRegistryText(kHkeyClassesRoot, u"ZetaURL\\shell\\open\\command", u"",
                      u"\"C:\\Z\\z.exe\" -osint -url \"%1\"");
    p.SetRegistryText(kHkeyLocalMachine, clients + u"alpha", u"", u"Alpha");
    p.SetRegistryText(kHkeyLocalMachine, clients + u"alpha\\shell\\open\\command", u"",
                      u"\"C:\\A\\a.exe\"");
    p.SetRegistryText(testing::kHklm32View, clients + u"ZED\\shell\\open\\command", u"", u"x %1");
    p.SetRegistryText(testing::kHklm32View, clients + u"Mid\\Capabilities", u"ApplicationName",
                      u"Mid");
    p.SetRegistryText(testing::kHklm32View, clients + u"Mid\\shell\\open\\command", u"",
                      u"C:\\M\\m.exe");
    p.SetRegistryText(testing::kHklm32View, clients + u"Broken", u"", u"Broken");
  }

  int Choose(std::initializer_list<ChooserStep> steps) {
    p.chooser_steps = steps;
    return chooser::ChooseBrowser(p, Module_Main::TemplateRefusal);
  }

  testing::FakePlatform p;
};

TEST_F(ChooserTest, ListsEachRegisteredBrowserOnceByNameAfterNoChoice) {
  EXPECT_EQ(Choose({ChooserStep::Cancel()}), 1);
  ASSERT_EQ(p.choosers.size(), 1u);
  EXPECT_EQ(p.choosers[0].names,
            (std::vector<std::u16string>{u"No choice of my own (Windows names no default browser)",
                                         u"Alpha", u"Mid", u"Zeta"}));
  EXPECT_EQ(p.choosers[0].commands, (std::vector<std::u16string>{u"", kA, u"C:\\M\\m.exe %s", kZ}));
  EXPECT_EQ(p.choosers[0].selected, 0);
  EXPECT_TRUE(p.open_keys.empty());
  // What a launch falls back to is named: the computer's browser.dat, else Windows' default.
  p.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"",
                    u"\"C:\\Z\\z.exe\" -osint -url \"%1\"");
  Choose({ChooserStep::Cancel()});
  EXPECT_EQ(p.choosers[1].names[0], u"No choice of my own (Windows' default browser: Zeta)");
  p.AddFile(u"C:\\Linkvane\\browser.dat", "C:\\M\\m.exe %s");
  Choose({ChooserStep::Cancel()});
  EXPECT_EQ(p.choosers[2].names[0], u"No choice of my own (the computer's browser.dat)");
}

TEST_F(ChooserTest, OkKeepsTheCommandAsTheFirstLineAndNothingElseChanges) {
  using namespace std::string_literals;
  const std::string bom = "\xEF\xBB\xBF";
  struct Case {
    const char* name;
    std::optional<std::string> before;
    std::vector<ChooserStep> steps;
    int status, selected;
    std::optional<std::string> after;  // nothing: no file
    std::size_t refusals = 0;
  };
  const ChooserStep ok = ChooserStep::Ok(), cancel = ChooserStep::Cancel();
  const Case cases[] = {
      {"new file", {}, {ChooserStep::Select(1), ok}, 0, 0, bom + "\"C:\\A\\a.exe\" %s\r\n"},
      {"current choice selected",
       "\"C:\\A\\a.exe\" %s\nkeep\n",
       {ChooserStep::Select(3), ok},
       0,
       1,
       U8(kZ) + "\nkeep\n"},
      {"UTF-16",
       "\xFF\xFEo\0l\0d\0\r\0\n\0k\0"s,
       {ChooserStep::Type(u"C:\\M\\m.exe %s"), ok},
       0,
       0,
       "\xFF\xFE" + Utf16Le(u"C:\\M\\m.exe %s") + "\r\0\n\0k\0"s},
      {"ANSI holds it",
       "old\r\n\xE9t\xE9",
       {ChooserStep::Type(u"C:\\M\\m.exe --\u017E %s"), ok},
       0,
       0,
       "C:\\M\\m.exe --\x9E %s\r\n\xE9t\xE9"},
      {"ANSI cannot hold it",
       "old\r\n\xE9",
       {ChooserStep::Type(u"C:\\M\\m.exe \u03A9%s"), ok, cancel},
       1,
       0,
       "old\r\n\xE9",
       1},
      {"no choice, other lines kept",
       "\"C:\\A\\a.exe\" %s\r\nkeep",
       {ChooserStep::Select(0), ok},
       0,
       1,
       "\r\nkeep"},
      {"no choice, nothing left", bom + "old\r\n\r\n", {ChooserStep::Type(u"  "), ok}, 0, 0, {}},
      {"cancel", "old", {ChooserStep::Select(1), cancel}, 1, 0, "old"},
      {"refused as at a launch",
       {},
       {ChooserStep::Type(u"\"C:\\t\\open.cmd\" %s"), ok, ChooserStep::Type(u"nosuch.exe %s"), ok,
        ChooserStep::Type(u"%s"), ok, cancel},
       1,
       0,
       {},
       3},
      {"other program",
       {},
       {ChooserStep::OtherProgram(), ok},
       0,
       0,
       bom + "\"C:\\M\\m.exe\" %s\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    p.files.erase(kUserFile);
    if (c.before) p.AddFile(kUserFile, *c.before);
    p.choosers.clear();
    p.chooser_refusals.clear();
    p.dialog_answers = {{true, u"C:\\M\\m.exe"}};
    p.chooser_steps.assign(c.steps.begin(), c.steps.end());
    EXPECT_EQ(chooser::ChooseBrowser(p, Module_Main::TemplateRefusal), c.status);
    EXPECT_EQ(p.choosers.at(0).selected, c.selected);
    EXPECT_EQ(p.files.count(kUserFile) ? std::optional(p.files[kUserFile]) : std::nullopt, c.after);
    EXPECT_EQ(p.chooser_refusals.size(), c.refusals);
  }
}

TEST_F(ChooserTest, AFailedWriteSaysWhyAndLeavesTheFileWhole) {
  p.AddFile(kUserFile, "old");
  p.Fail(testing::Operation::kWriteFile, 5, u"Access is denied.");
  EXPECT_EQ(Choose({ChooserStep::Select(1), ChooserStep::Ok(), ChooserStep::Cancel()}), 1);
  EXPECT_EQ(p.chooser_refusals,
            std::vector<std::u16string>{u"Your choice could not be saved in\r\n" +
                                        std::u16string(kUserFile) +
                                        u"\r\n\r\nError code = 5 (Access is denied.). Nothing was "
                                        u"changed."});
  EXPECT_EQ(p.files[kUserFile], "old");
}

}  // namespace
}  // namespace linkvane
