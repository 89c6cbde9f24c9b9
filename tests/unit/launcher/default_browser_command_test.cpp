#include <gtest/gtest.h>

#include <string>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"
#include "system/systemfn.h"

namespace linkvane {
namespace {

using Module_Main::GetDefaultBrowserCommand;
using testing::FakePlatform;
using testing::U8;

constexpr char16_t kUserChoice[] =
    u"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice";

TEST(GetDefaultBrowserCommand, TurnsTheLastUsablePercentOneIntoTheUrlPlaceholder) {
  struct Case {
    std::u16string registry;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"\"C:\\Program Files\\Browser\\browser.exe\" -osint -url \"%1\"",
       u"\"C:\\Program Files\\Browser\\browser.exe\" -osint -url \"%s\""},
      {u"b.exe %1 --second %1", u"b.exe %1 --second %s"},
      {u"b.exe %1%1", u"b.exe %1%s"},
      {u"b.exe %1x", u"b.exe %sx"},
      {u"b.exe -new", u"b.exe -new %s"},
      {u"b.exe %L", u"b.exe %L %s"},
      // A "%1" at the very start is not the URL's place: it stays, and the URL goes at the end.
      {u"%1", u"%1 %s"},
      {u"%1 -url", u"%1 -url %s"},
      {u"x%1", u"x%s"},
      {u"", u" %s"},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"", c.registry);
    EXPECT_EQ(GetDefaultBrowserCommand(platform), c.expected) << U8(c.registry);
  }
}

TEST(GetDefaultBrowserCommand, UsesTheUsersChoiceOverTheHttpKey) {
  FakePlatform platform;
  platform.SetRegistryText(kHkeyCurrentUser, kUserChoice, u"ProgId", u"ChosenHTML");
  platform.SetRegistryText(kHkeyClassesRoot, u"ChosenHTML\\shell\\open\\command", u"",
                           u"\"C:\\Chosen\\chosen.exe\" \"%1\"");
  platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"", u"other.exe %1");
  EXPECT_EQ(GetDefaultBrowserCommand(platform), u"\"C:\\Chosen\\chosen.exe\" \"%s\"");
}

TEST(GetDefaultBrowserCommand, NoRegistryEntryGivesTheTooShortPlaceholderOnly) {
  FakePlatform platform;
  EXPECT_EQ(GetDefaultBrowserCommand(platform), u" %s");
  FakePlatform failing;
  failing.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"", u"b.exe %1");
  failing.Fail(testing::Operation::kOpenRegistryKey);
  EXPECT_EQ(GetDefaultBrowserCommand(failing), u" %s");
}

// A registry whose reading raises, as the Win32 layer does when advapi32 cannot be loaded.
class RaisingRegistry : public FakePlatform {
 public:
  int raised = 0;
  std::int32_t OpenRegistryKey(std::uint32_t, const std::u16string&, std::uint32_t, std::uint32_t,
                               RegistryKey&) override {
    ++raised;
    throw PlatformError(127, u"The specified procedure could not be found.");
  }
};

TEST(GetDefaultBrowserCommand, SwallowsARaisedRegistryError) {
  RaisingRegistry platform;
  EXPECT_EQ(GetDefaultBrowserCommand(platform), u" %s");
  // The lookup itself catches nothing: the error ends it at the first registry call.
  EXPECT_EQ(platform.raised, 1);
  EXPECT_THROW(systemfn::GetBrowserCommandFromRegistry(platform, true), PlatformError);
}

}  // namespace
}  // namespace linkvane
