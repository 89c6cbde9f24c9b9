#include <gtest/gtest.h>

#include <tuple>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"
#include "launcher/registration.h"

namespace linkvane {
namespace {

using testing::FakePlatform;
using testing::Operation;
using Registry = FakePlatform::RegistryTextMap;

constexpr std::uint32_t kInformation = 0x40;
constexpr std::uint32_t kError = 0x10;
constexpr char16_t kFolder[] = u"C:\\Program Files\\Zo\u00EB\\Tools (x86)\\R&D 100%\\linkvane";
const std::u16string kExe = kFolder + std::u16string(u"\\linkvane.exe");

// Runs the program with these arguments; checks that it showed one box of these flags, or none.
int RunWith(FakePlatform& platform, std::u16string_view arguments, std::uint32_t box = 0,
            const std::u16string& folder = kFolder) {
  platform.executable_directory = folder;
  platform.full_command_line = u"\"" + folder + u"\\linkvane.exe\" " + std::u16string(arguments);
  platform.shown.clear();
  if (box != 0) platform.message_answers = {1};
  const int status = Module_Main::RunProgram(platform);
  EXPECT_EQ(platform.shown.size(), box != 0 ? 1u : 0u);
  EXPECT_TRUE(platform.shown.empty() || platform.shown[0].flags == box);
  return status;
}

bool Says(const FakePlatform& platform, std::u16string_view text) {
  return !platform.shown.empty() && platform.shown[0].text.find(text) != std::u16string::npos;
}

TEST(Requests, SwitchesMakeOneRequestInAnyCaseAndOrder) {
  struct Case {
    std::u16string_view arguments;
    int status;
    std::uint32_t box;
    std::uint32_t registered_root;  // 0: nothing written
    bool usage;
  };
  const Case cases[] = {
      {u"/register", 0, kInformation, kHkeyCurrentUser, false},
      {u"/QUIET  \"/Register\"", 0, 0, kHkeyCurrentUser, false},
      {u"/allusers /register /quiet", 0, 0, kHkeyLocalMachine, false},
      {u"/?", 1, kInformation, 0, true},
      {u"/quiet /?", 1, 0, 0, false},
      {u"/register /unregister", 1, kError, 0, true},
      {u"/allusers", 1, kError, 0, true},
      {u"/register /frobnicate", 1, kError, 0, true},
      {u"/quiet /frobnicate", 1, 0, 0, false},
      {u"/Choose", 1, kError, 0, false},  // here without a folder to keep the choice in
      {u"/choose /allusers", 1, kError, 0, true},
      // Anything not a switch makes the whole line a shortcut's path.
      {u"/register C:\\Links\\a.url", 1, kError, 0, false},
      {u"/Links/a.url", 1, kError, 0, false},
      {u"/openwith", 1, kError, 0, true},
      {u"/openwith /quiet", 1, kError, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.arguments));
    FakePlatform platform;
    EXPECT_EQ(RunWith(platform, c.arguments, c.box), c.status);
    // The values in full are the installer test's to compare, on the real registry.
    const std::u16string command = u"\"" + kExe + u"\" \"%1\"";
    for (std::uint32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
      EXPECT_EQ(platform.RegistryTexts(
                    root)[u"Software\\Classes\\Linkvane.Shortcut\\shell\\open\\command"][u""],
                root == c.registered_root ? command : u"");
      EXPECT_EQ(
          platform.RegistryTexts(root)[u"Software\\Classes\\SystemFileAssociations\\.url\\shell\\"
                                       u"Linkvane.OpenWith\\command"][u""],
          root == c.registered_root ? u"\"" + kExe + u"\" /openwith \"%1\"" : u"");
      EXPECT_EQ(platform.RegistryTexts(root)[u"Software\\Classes\\SystemFileAssociations\\.url\\"
                                             u"shell\\Linkvane.OpenWith"][u"MUIVerb"],
                root == c.registered_root ? u"@\"" + kExe + u"\",-73" : u"");
    }
    EXPECT_EQ(Says(platform, u"linkvane.exe /register [/allusers] [/quiet]"), c.usage);
  }
}

// A computer with another program's entries in the shared keys, which stay as they are.
FakePlatform World() {
  FakePlatform platform;
  for (std::uint32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
    platform.SetRegistryText(root, u"Software\\RegisteredApplications", u"Other", u"Other");
    platform.SetRegistryText(root, u"Software\\Classes\\.url", u"", u"InternetShortcut");
  }
  return platform;
}

TEST(Requests, AnotherProgramsFileTypeAndEntriesStayAsTheyWere) {
  // Where another program may own .desktop: the classes of either root, or Explorer's choice.
  const std::pair<std::uint32_t, std::u16string_view> owners[] = {
      {0, u""},
      {kHkeyCurrentUser, u"Software\\Classes\\.desktop"},
      {kHkeyLocalMachine, u"Software\\Classes\\.desktop"},
      {kHkeyCurrentUser,
       u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.desktop\\UserChoice"},
  };
  for (const bool all_users : {false, true}) {
    for (const auto& [root, key] : owners) {
      SCOPED_TRACE(testing::U8(key) + (all_users ? " all users" : " per user"));
      FakePlatform platform = World();
      const std::u16string name = key.find(u"Choice") != key.npos ? u"ProgId" : u"";
      if (root != 0) platform.SetRegistryText(root, std::u16string(key), name, u"Other.Desktop");
      const Registry user = platform.RegistryTexts(kHkeyCurrentUser);
      const Registry machine = platform.RegistryTexts(kHkeyLocalMachine);
      const std::u16string scope = all_users ? u" /allusers" : u"";
      // A registration for all users looks at the machine's entries only.
      const bool kept = root != 0 && (!all_users || root == kHkeyLocalMachine);
      EXPECT_EQ(RunWith(platform, u"/register" + scope, kInformation), 0);
      EXPECT_EQ(Says(platform, u"\"Open with\", then \"Choose another app\""), kept);
      EXPECT_EQ(RunWith(platform, u"/unregister /quiet" + scope), 0);
      EXPECT_EQ(platform.RegistryTexts(kHkeyCurrentUser), user);
      EXPECT_EQ(platform.RegistryTexts(kHkeyLocalMachine), machine);
      EXPECT_EQ(platform.association_notices, 2);
      EXPECT_EQ(RunWith(platform, u"/unregister" + scope, kInformation), 0);
      EXPECT_TRUE(Says(platform, u"There was nothing to remove."));
      for (std::uint32_t access : platform.write_access) {
        EXPECT_EQ(access & kKeyWow64_64Key, all_users ? kKeyWow64_64Key : 0u);
      }
    }
  }
}

// An earlier version named Explorer's verb in English; /unregister removes that name too.
TEST(Requests, UnregisterRemovesTheVerbAsAnEarlierVersionNamedIt) {
  FakePlatform platform = World();
  const Registry before = platform.RegistryTexts(kHkeyCurrentUser);
  EXPECT_EQ(RunWith(platform, u"/register /quiet"), 0);
  for (const char16_t* extension : {u".url", u".webloc", u".desktop"}) {
    platform.SetRegistryText(kHkeyCurrentUser,
                             u"Software\\Classes\\SystemFileAssociations\\" +
                                 std::u16string(extension) + u"\\shell\\Linkvane.OpenWith",
                             u"MUIVerb", u"Open in another browser\u2026");
  }
  EXPECT_EQ(RunWith(platform, u"/unregister /quiet"), 0);
  EXPECT_EQ(platform.RegistryTexts(kHkeyCurrentUser), before);
}

TEST(Requests, UnregisterForgetsTheUsersChoiceOfLinkvaneOnceNoCopyIsLeftToOpenTheFiles) {
  const std::u16string exts = u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\";
  const std::u16string desktop = exts + u".desktop\\UserChoice", url = exts + u".url\\UserChoice";
  const std::u16string latest = exts + u".webloc\\UserChoiceLatest";
  // Which copy /unregister runs as, and whether the machine has a Linkvane of its own.
  for (const auto& [exe, machine_copy, forgotten] : {std::tuple{u"linkvane.exe", false, true},
                                                     {u"linkvane.exe", true, false},
                                                     {u"stale.exe", false, false}}) {
    FakePlatform platform = World();
    EXPECT_EQ(RunWith(platform, u"/register /quiet"), 0);
    if (machine_copy)
      platform.SetRegistryText(kHkeyLocalMachine,
                               u"Software\\Classes\\Linkvane.Shortcut\\shell\\open\\command", u"",
                               u"x");
    platform.SetRegistryText(kHkeyCurrentUser, desktop, u"ProgId", u"linkvane.shortcut");
    platform.SetRegistryText(kHkeyCurrentUser, latest + u"\\ProgId", u"ProgId",
                             u"Linkvane.Shortcut");
    platform.SetRegistryText(kHkeyCurrentUser, url, u"ProgId", u"Other.Url");
    platform.executable_name = exe;
    RunWith(platform, u"/unregister /quiet");
    Registry user = platform.RegistryTexts(kHkeyCurrentUser);
    EXPECT_EQ(user.count(desktop) + user.count(latest + u"\\ProgId"), forgotten ? 0u : 2u);
    EXPECT_EQ(platform.open_keys.size(), 0u);
    EXPECT_EQ(user[url][u"ProgId"], u"Other.Url");
  }
}

TEST(Requests, OnlyACopyThatOnlyAdministratorsCanChangeIsRegisteredForEveryUser) {
  const std::pair<std::u16string_view, bool> paths[] = {
      {u"\\\\?\\C:\\Program Files\\L\\linkvane.exe", true},
      {u"c:\\program files (X86)\\linkvane.exe", true},
      {u"\\\\?\\C:\\Program Files Evil\\linkvane.exe", false},
      {u"\\\\?\\C:\\Program Files\\..\\Tools\\linkvane.exe", false},
      {u"C:\\Program Files\\L/../../Tools/linkvane.exe", false},
      {u"C:\\Program Files\\\\linkvane.exe", false},
      {u"C:\\PROGRA~1\\L\\linkvane.exe", false},
      {u"\\\\?\\UNC\\pc\\C$\\Program Files\\linkvane.exe", false},
      {u"C:\\Program Files", false},
      {u"\\\\?\\C:\\Windows\\System32\\linkvane.exe", true},
      {u"C:\\Windows\\Temp\\linkvane.exe", false},  // where every user may add files
  };
  for (const auto& [path, safe] : paths) {
    EXPECT_EQ(Module_Main::InProtectedFolder(
                  path, {u"C:\\Program Files", u"\\\\?\\C:\\Program Files (x86)\\"},
                  {u"C:\\Windows", u"C:\\Windows\\System32"}),
              safe)
        << testing::U8(path);
  }
  // A copy anywhere else, or reached through a junction that leads elsewhere, is refused; it may
  // still be registered for one user, and unregistered for all.
  const std::u16string tools = u"C:\\Tools\\Linkvane";
  FakePlatform platform = World();
  const Registry machine = platform.RegistryTexts(kHkeyLocalMachine);
  EXPECT_EQ(RunWith(platform, u"/register /allusers", kError, tools), 1);
  EXPECT_TRUE(Says(platform, u"install it for all users (into Program Files)"));
  platform.final_paths[kExe] = u"\\\\?\\" + tools + u"\\linkvane.exe";
  EXPECT_EQ(RunWith(platform, u"/register /allusers /quiet"), 1);
  EXPECT_EQ(platform.RegistryTexts(kHkeyLocalMachine), machine);
  EXPECT_EQ(RunWith(platform, u"/unregister /allusers /quiet", 0, tools), 0);
  EXPECT_EQ(RunWith(platform, u"/register /quiet", 0, tools), 0);
}

TEST(Requests, WithoutTheRightsNothingChangesAndTheBoxSaysWhy) {
  for (const Operation operation : {Operation::kCreateRegistryKey, Operation::kSetRegistryValue}) {
    FakePlatform platform = World();
    const Registry machine = platform.RegistryTexts(kHkeyLocalMachine);
    platform.Fail(operation);
    EXPECT_EQ(RunWith(platform, u"/register /allusers", kError), 1);
    EXPECT_TRUE(Says(platform, u"Error code = 5 (Access is denied.)."));
    EXPECT_EQ(platform.RegistryTexts(kHkeyLocalMachine), machine);
    EXPECT_EQ(RunWith(platform, u"/register /allusers /quiet"), 1);
  }
  FakePlatform platform;
  EXPECT_EQ(RunWith(platform, u"/register /quiet"), 0);
  platform.Fail(Operation::kDeleteRegistryValue);
  EXPECT_EQ(RunWith(platform, u"/unregister", kError), 1);
}

}  // namespace
}  // namespace linkvane
