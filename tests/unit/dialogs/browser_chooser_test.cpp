#include "dialogs/browser_chooser.h"

#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"

namespace linkvane {
namespace {

using Texts = std::vector<std::u16string>;
constexpr char16_t kUserFile[] = u"C:\\Users\\me\\AppData\\Local\\Linkvane\\browser.dat";
constexpr char16_t kZ[] = u"\"C:\\Z\\z.exe\" -osint -url \"%s\"";

// A user with a local application-data folder, and browsers registered as Windows lists them:
// for the user, and in both views of the computer's registry (one without a command).
class ChooserTest : public ::testing::Test {
 protected:
  ChooserTest() {
    p.under_wow64 = true;
    p.SetRegistryText(kHkeyCurrentUser,
                      u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
                      u"Local AppData", u"C:\\Users\\me\\AppData\\Local");
    p.folders.insert(u"C:\\Users\\me\\AppData\\Local");
    for (const char16_t* program : {u"C:\\A\\a.exe", u"C:\\M\\m.exe", u"C:\\Z\\z.exe"}) {
      p.AddFile(program, testing::ProgramFile());
    }
    const std::u16string key = u"Software\\Clients\\StartMenuInternet\\";
    p.SetRegistryText(kHkeyCurrentUser, key + u"Zed\\Capabilities", u"ApplicationName", u"@z,-1");
    p.indirect_strings[u"@z,-1"] = u"Zeta";
    p.SetRegistryText(kHkeyCurrentUser, key + u"Zed\\Capabilities\\URLAssociations", u"http",
                      u"ZetaURL");
    p.SetRegistryText(kHkeyClassesRoot, u"ZetaURL\\shell\\open\\command", u"",
                      u"\"C:\\Z\\z.exe\" -osint -url \"%1\"");
    p.SetRegistryText(kHkeyLocalMachine, key + u"alpha", u"", u"Alpha");
    p.SetRegistryText(kHkeyLocalMachine, key + u"alpha\\shell\\open\\command", u"",
                      u"\"C:\\A\\a.exe\"");
    p.SetRegistryText(testing::kHklm32View, key + u"ZED\\shell\\open\\command", u"", u"x %1");
    p.SetRegistryText(testing::kHklm32View, key + u"Mid\\Capabilities", u"ApplicationName", u"Mid");
    p.SetRegistryText(testing::kHklm32View, key + u"Mid\\shell\\open\\command", u"",
                      u"C:\\M\\m.exe");
    p.SetRegistryText(testing::kHklm32View, key + u"Broken", u"", u"Broken");
  }

  int Choose(const Texts& steps) {
    p.chooser_steps.assign(steps.begin(), steps.end());
    return chooser::ChooseBrowser(p, Module_Main::TemplateRefusal);
  }

  testing::FakePlatform p;
};

TEST_F(ChooserTest, ListsEachRegisteredBrowserOnceByNameAfterNoChoice) {
  EXPECT_EQ(Choose({u"Cancel"}), 1);
  EXPECT_EQ(p.choosers[0].names, (Texts{u"No choice of my own (Windows names no default browser)",
                                        u"Alpha", u"Mid", u"Zeta"}));
  EXPECT_EQ(p.choosers[0].commands, (Texts{u"", u"\"C:\\A\\a.exe\" %s", u"C:\\M\\m.exe %s", kZ}));
  EXPECT_TRUE(p.open_keys.empty());
  // What a launch falls back to is named: the computer's browser.dat, else Windows' default.
  p.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"",
                    u"\"C:\\Z\\z.exe\" -osint -url \"%1\"");
  Choose({u"Cancel"});
  EXPECT_EQ(p.choosers[1].names[0], u"No choice of my own (Windows' default browser: Zeta)");
  p.AddFile(u"C:\\Linkvane\\browser.dat", "C:\\M\\m.exe %s");
  Choose({u"Cancel"});
  EXPECT_EQ(p.choosers[2].names[0], u"No choice of my own (the computer's browser.dat)");
}

TEST_F(ChooserTest, OkKeepsTheCommandAsTheFirstLineAndNothingElse) {
  using namespace std::string_literals;
  const std::string bom = "\xEF\xBB\xBF", a = "\"C:\\A\\a.exe\" %s", m = "C:\\M\\m.exe %s";
  auto le = [](const std::string& text) {
    std::string bytes;
    for (const char c : text) bytes += {c, '\0'};
    return bytes;
  };
  struct Case {
    std::optional<std::string> before;
    Texts steps;
    int status, selected;
    std::optional<std::string> after;  // nothing: no file
    std::u16string said = {};          // in the last refusal shown
    bool write_fails = false;
  };
  const std::u16string mu = testing::U16(m);
  p.AddFile(u"C:\\L\\a.lnk", std::string("L\0\0\0", 4) + std::string(200, '\0'));
  p.AddFile(u"C:\\L\\old.exe",
            "MZ" + std::string(0x3A, '\0') + "\x40" + std::string(3, '\0') + "NE");
  p.AddFile(u"C:\\L\\d.dll", testing::ProgramFile(2, 0x20));
  p.AddFile(u"C:\\L\\c.exe", testing::ProgramFile(3));
  const Case cases[] = {
      {{}, {u"=1", u"OK"}, 0, 0, bom + a + "\r\n"},
      {a + "\nkeep\n", {u"=3", u"OK"}, 0, 1, testing::U8(kZ) + "\nkeep\n"},
      {"\xFF\xFE" + le("old\r\nk"), {mu, u"OK"}, 0, 0, "\xFF\xFE" + le(m + "\r\nk")},
      {"old\r\n\xE9", {mu + u"\u017E", u"OK"}, 0, 0, m + "\x9E\r\n\xE9"},  // ANSI
      {"old\r\n\xE9", {mu + u"\u03A9", u"OK", u"Cancel"}, 1, 0, "old\r\n\xE9", u"= 1113 (The"},
      {a + "\r\nkeep", {u"=0", u"OK"}, 0, 1, "\r\nkeep"},  // no choice: other lines stay
      {bom + "old\r\n\r\n", {u"  ", u"OK"}, 0, 0, {}},     // no choice, nothing left
      {"old", {u"=1", u"Cancel"}, 1, 0, "old"},
      {{}, {u"b.cmd %s", u"OK", u"no %s", u"OK", u"%s", u"OK", u"Cancel"}, 1, 0, {}, u"at least"},
      {{}, {u"Other program", u"OK"}, 0, 0, bom + "\"C:\\M\\m.exe\" %s\r\n"},
      {"old", {u"=1", u"OK", u"Cancel"}, 1, 0, "old", u"= 5 (Access is denied.). Nothing", true},
      // What cannot start, or what the browser would refuse, is refused with the fix.
      {{}, {u"C:\\L\\a.lnk %s", u"OK", u"Cancel"}, 1, 0, {}, u"= 193 (This is not a Windows"},
      {{}, {u"C:\\L\\old.exe %s", u"OK", u"Cancel"}, 1, 0, {}, u"16-bit program or"},
      {{}, {u"C:\\L\\d.dll %s", u"OK", u"Cancel"}, 1, 0, {}, u"= 193 (This is a DLL"},
      {{}, {u"C:\\L\\c.exe %s", u"OK"}, 0, 0, bom + "C:\\L\\c.exe %s\r\n"},
      {{}, {std::u16string(kZ).insert(20, u"-P x "), u"OK", u"Cancel"}, 1, 0, {}, u"remove -osint"},
      {{}, {mu.substr(0, 11) + u"--single-argument %s -x", u"OK", u"Cancel"}, 1, 0, {}, u"put"},
      {{},
       {mu.substr(0, 11) + u"-x --single-argument %S", u"OK"},
       0,
       0,
       bom + m.substr(0, 11) + "-x --single-argument %S\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.steps[0]));
    p.files.erase(kUserFile);
    if (c.before) p.AddFile(kUserFile, *c.before);
    p.choosers.clear();
    p.chooser_refusals = {u""};
    p.dialog_answers = {{true, u"C:\\M\\m.exe"}};
    c.write_fails ? p.Fail(testing::Operation::kWriteFile)
                  : p.Succeed(testing::Operation::kWriteFile);
    EXPECT_EQ(Choose(c.steps), c.status);
    EXPECT_EQ(p.choosers.at(0).selected, c.selected);
    EXPECT_EQ(p.files.count(kUserFile) ? std::optional(p.files[kUserFile]) : std::nullopt, c.after);
    EXPECT_NE(p.chooser_refusals.back().find(c.said), std::u16string::npos)
        << testing::U8(p.chooser_refusals.back());
  }
}

// /openwith opens one shortcut once, in the browser picked; ticked, the box keeps a rule that
// sends the site's plain opens there. The saved choice is never touched.
TEST_F(ChooserTest, OpenWithOpensOnceAndKeepsASiteRuleWhenTicked) {
  const std::string saved = "\"C:\\A\\a.exe\" %s\r\n";
  p.AddFile(kUserFile, saved);
  p.AddFile(u"C:\\L\\a.url", "[InternetShortcut]\r\nURL=https://www.example.com/x\r\n");
  p.AddFile(u"C:\\L\\b.url", "[InternetShortcut]\r\nURL=https://docs.example.com/\r\n");
  p.AddFile(u"C:\\L\\c.url", "[InternetShortcut]\r\nURL=https://other.test/\r\n");
  const auto run = [&](const char16_t* arguments, const Texts& steps) {
    p.full_command_line = std::u16string(u"linkvane.exe ") + arguments;
    p.chooser_steps.assign(steps.begin(), steps.end());
    const int status = Module_Main::RunProgram(p);
    return std::pair(status, p.started.empty() ? u"" : p.started.back());
  };
  EXPECT_EQ(run(u"/openwith C:\\L\\a.url", {u"=1", u"OK"}),
            std::pair(0, std::u16string(u"\"C:\\M\\m.exe\" https://www.example.com/x")));
  EXPECT_EQ(p.choosers.back().title, u"Linkvane - open in another browser");
  EXPECT_EQ(p.choosers.back().always_label, u"&Always open example.com in this browser");
  EXPECT_EQ(run(u"/openwith \"C:\\L\\a.url\"", {u"OK", u"=2", u"Always", u"OK"}).first, 0);
  EXPECT_EQ(p.chooser_refusals.back(), u"Choose the browser that opens this address.");
  EXPECT_EQ(run(u"C:\\L\\b.url", {}).second,
            u"\"C:\\Z\\z.exe\" -osint -url \"https://docs.example.com/\"");
  EXPECT_EQ(run(u"C:\\L\\c.url", {}).second, u"\"C:\\A\\a.exe\" https://other.test/");
  // The rule is shown ticked with its browser; Esc starts nothing, unticking removes it.
  const std::size_t started = p.started.size();
  EXPECT_EQ(run(u"/openwith C:\\L\\b.url", {u"Cancel"}).first, 1);
  EXPECT_TRUE(p.choosers.back().always);
  EXPECT_EQ(p.choosers.back().selected, 2);
  EXPECT_EQ(run(u"/openwith C:\\L\\b.url", {u"Always", u"OK"}).first, 0);
  EXPECT_EQ(run(u"C:\\L\\b.url", {}).second, u"\"C:\\A\\a.exe\" https://docs.example.com/");
  EXPECT_EQ(p.started.size(), started + 2);
  EXPECT_EQ(p.files.at(kUserFile), saved);
  p.message_answers = {1};
  EXPECT_EQ(run(u"/openwith a.url b.url", {}).first, 1);
  EXPECT_EQ(p.shown.back().text.rfind(u"/openwith takes one shortcut file and nothing else.", 0),
            0u);
}

TEST_F(ChooserTest, EachReplaceErrorLeavesTheFileOrNamesWhereItIsAndTellsTheTruth) {
  const std::u16string dat = kUserFile, backup = dat + u".77.bak", a = u"\"C:\\A\\a.exe\" %s";
  struct Case {
    std::int32_t error;  // of ReplaceFileW; 0: none
    std::u16string unmovable;
    bool renames_fail;
    const char* after;  // in browser.dat; null: none, the old file is the backup
    std::u16string said;
  };
  const Case cases[] = {
      {0, {}, false, "new", u""},
      {1175, {}, false, "old", u"= 1175 (x). Nothing was changed."},
      {1176, {}, false, "old", u"= 1176 (x). Nothing was changed."},
      {1177, {}, false, "old", u"= 1177 (x). Nothing was changed."},
      {1177, backup, false, "new", u""},
      {1177, {}, true, nullptr, u"= 1177 (x). The file as it was is now\r\n" + backup + u"\r\n"},
      {5, {}, false, "old", u"= 5 (x). Nothing was changed."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.error);
    p.files.erase(dat + u".77.tmp");
    p.files[dat] = "old";
    p.files[backup] = "stale";
    p.unmovable = {c.unmovable};
    p.chooser_refusals = {u""};
    c.error ? p.Fail(testing::Operation::kReplaceFile, c.error, u"x")
            : p.Succeed(testing::Operation::kReplaceFile);
    c.renames_fail ? p.Fail(testing::Operation::kRenameFile)
                   : p.Succeed(testing::Operation::kRenameFile);
    Choose({u"=1", u"OK", u"Cancel"});
    const std::string now = p.files.count(dat) ? p.files[dat] : p.files[backup];
    EXPECT_EQ(now, c.after && std::string(c.after) == "new" ? testing::U8(a) : "old");
    EXPECT_EQ(p.files.count(dat), c.after ? 1u : 0u);
    // No working file is left behind, but for the two that keep the old file and the new.
    EXPECT_EQ(p.files.count(backup) + p.files.count(dat + u".77.tmp"), c.after ? 0u : 2u);
    EXPECT_NE(p.chooser_refusals.back().find(c.said), std::u16string::npos)
        << testing::U8(p.chooser_refusals.back());
  }
}

}  // namespace
}  // namespace linkvane
