#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"

namespace linkvane {
namespace {

using testing::FakePlatform;
using testing::Operation;
using Registry = decltype(FakePlatform().RegistryTexts(0));

constexpr std::uint32_t kInformation = 0x40;
constexpr std::uint32_t kError = 0x10;
constexpr char16_t kExe[] = u"C:\\Users\\Zo\u00EB\\Tools (x86)\\R&D 100%\\linkvane\\linkvane.exe";

// What /register writes for kExe under a root: the README's table, in full.
Registry Registered(bool with_extension_defaults = true) {
  const std::u16string icon = u"\"" + std::u16string(kExe) + u"\",0";
  Registry keys = {
      {u"Software", {}},
      {u"Software\\Classes", {}},
      {u"Software\\Classes\\Linkvane.Shortcut", {{u"", u"Web location shortcut"}}},
      {u"Software\\Classes\\Linkvane.Shortcut\\DefaultIcon", {{u"", icon}}},
      {u"Software\\Classes\\Linkvane.Shortcut\\shell", {}},
      {u"Software\\Classes\\Linkvane.Shortcut\\shell\\open", {}},
      {u"Software\\Classes\\Linkvane.Shortcut\\shell\\open\\command",
       {{u"", u"\"" + std::u16string(kExe) + u"\" \"%1\""}}},
      {u"Software\\Classes\\.url\\OpenWithProgids", {{u"Linkvane.Shortcut", u""}}},
      {u"Software\\Classes\\.url", {}},
      {u"Software\\Linkvane", {}},
      {u"Software\\Linkvane\\Capabilities",
       {{u"ApplicationName", u"Linkvane"},
        {u"ApplicationDescription", u"Opens web-location shortcut files in a browser"},
        {u"ApplicationIcon", icon}}},
      {u"Software\\Linkvane\\Capabilities\\FileAssociations",
       {{u".webloc", u"Linkvane.Shortcut"},
        {u".desktop", u"Linkvane.Shortcut"},
        {u".url", u"Linkvane.Shortcut"}}},
      {u"Software\\RegisteredApplications", {{u"Linkvane", u"Software\\Linkvane\\Capabilities"}}},
  };
  for (const char16_t* extension :
       {u"Software\\Classes\\.webloc", u"Software\\Classes\\.desktop"}) {
    keys[extension + std::u16string(u"\\OpenWithProgids")] = {{u"Linkvane.Shortcut", u""}};
    keys[extension] = {};
    if (with_extension_defaults) keys[extension] = {{u"", u"Linkvane.Shortcut"}};
  }
  return keys;
}

// Runs the program with these arguments; checks that it showed one box of these flags, or none.
int RunWith(FakePlatform& platform, std::u16string_view arguments, std::uint32_t box = 0) {
  platform.executable_directory = u"C:\\Users\\Zo\u00EB\\Tools (x86)\\R&D 100%\\linkvane";
  platform.full_command_line = u"\"" + std::u16string(kExe) + u"\" " + std::u16string(arguments);
  platform.shown.clear();
  if (box != 0) platform.message_answers = {1};
  const int status = Module_Main::RunProgram(platform);
  EXPECT_EQ(platform.shown.size(), box != 0 ? 1u : 0u);
  if (box != 0 && !platform.shown.empty()) {
    EXPECT_EQ(platform.shown[0].flags, box);
  }
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
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.arguments));
    FakePlatform platform;
    EXPECT_EQ(RunWith(platform, c.arguments, c.box), c.status);
    for (std::uint32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
      EXPECT_EQ(platform.RegistryTexts(root),
                root == c.registered_root ? Registered() : Registry());
    }
    EXPECT_EQ(Says(platform, u"linkvane.exe /register [/allusers] [/quiet]"), c.usage);
  }
}

// Another program's entries in the shared keys, which every request must leave alone, and
// other programs that may already own .desktop.
struct Owner {
  std::uint32_t root;
  std::u16string_view key, name;
};
constexpr Owner kOwners[] = {
    {0, u"", u""},
    {kHkeyCurrentUser, u"Software\\Classes\\.desktop", u""},
    {kHkeyLocalMachine, u"Software\\Classes\\.desktop", u""},
    {kHkeyCurrentUser,
     u"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\.desktop\\UserChoice",
     u"ProgId"},
};

// A computer with another program's entries in the shared keys, which stay as they are.
FakePlatform World() {
  FakePlatform platform;
  for (std::uint32_t root : {kHkeyCurrentUser, kHkeyLocalMachine}) {
    platform.SetRegistryText(root, u"Software\\RegisteredApplications", u"Other",
                             u"Software\\Other\\Capabilities");
    platform.SetRegistryText(root, u"Software\\Classes\\.url", u"", u"InternetShortcut");
  }
  return platform;
}

TEST(Requests, UnregisterLeavesEveryOtherProgramsEntryAsItWas) {
  for (const bool all_users : {false, true}) {
    for (const Owner& owner : kOwners) {
      SCOPED_TRACE(testing::U8(owner.key) + (all_users ? " all users" : " per user"));
      FakePlatform platform = World();
      if (owner.root != 0) {
        platform.SetRegistryText(owner.root, std::u16string(owner.key), std::u16string(owner.name),
                                 u"Other.Desktop");
      }
      const Registry user = platform.RegistryTexts(kHkeyCurrentUser);
      const Registry machine = platform.RegistryTexts(kHkeyLocalMachine);
      const std::u16string scope = all_users ? u" /allusers" : u"";
      // The machine's own entries do not stop a registration for all users.
      const bool kept = owner.root != 0 && (!all_users || owner.root == kHkeyLocalMachine);
      EXPECT_EQ(RunWith(platform, u"/register" + scope, kInformation), 0);
      EXPECT_EQ(Says(platform, u"\"Open with\", then \"Choose another app\""), kept);
      EXPECT_EQ(platform.RegistryTexts(
                    all_users ? kHkeyLocalMachine
                              : kHkeyCurrentUser)[u"Software\\Classes\\.desktop\\OpenWithProgids"]
                                                 [u"Linkvane.Shortcut"],
                u"");
      EXPECT_EQ(RunWith(platform, u"/unregister /quiet" + scope), 0);
      EXPECT_EQ(platform.RegistryTexts(kHkeyCurrentUser), user);
      EXPECT_EQ(platform.RegistryTexts(kHkeyLocalMachine), machine);
      EXPECT_EQ(platform.association_notices, 2);
      for (std::uint32_t access : platform.write_access) {
        EXPECT_EQ(access & kKeyWow64_64Key, all_users ? kKeyWow64_64Key : 0u);
      }
    }
  }
}

TEST(Requests, UnregisterRemovesOnlyThisCopysRegistration) {
  FakePlatform platform;
  EXPECT_EQ(RunWith(platform, u"/register /quiet"), 0);
  platform.executable_name = u"other.exe";
  EXPECT_EQ(RunWith(platform, u"/unregister", kInformation), 0);
  EXPECT_TRUE(Says(platform, u"another copy of Linkvane for you:\r\n" + std::u16string(kExe)));
  EXPECT_EQ(platform.RegistryTexts(kHkeyCurrentUser), Registered());
  platform.executable_name = u"linkvane.exe";
  EXPECT_EQ(RunWith(platform, u"/unregister", kInformation), 0);
  EXPECT_EQ(RunWith(platform, u"/unregister", kInformation), 0);
  EXPECT_TRUE(Says(platform, u"There was nothing to remove."));
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
