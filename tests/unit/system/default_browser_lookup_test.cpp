#include <gtest/gtest.h>

#include <string>

#include "fake/fake_platform.h"
#include "system/systemfn.h"

namespace linkvane {
namespace {

using systemfn::GetBrowserCommandFromRegistry;
using systemfn::GetHttpOpenCommand;
using testing::FakePlatform;
using testing::Operation;

constexpr char16_t kHttp[] =
    u"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http";

// The three places a ProgId may be recorded, newest first.
enum class Place { kUserChoiceLatest, kUserChoice, kHistorical };

void SetProgId(FakePlatform& platform, Place place, const std::u16string& progid) {
  switch (place) {
    case Place::kUserChoiceLatest:
      platform.SetRegistryText(kHkeyCurrentUser,
                               kHttp + std::u16string(u"\\UserChoiceLatest\\ProgId"), u"ProgId",
                               progid);
      break;
    case Place::kUserChoice:
      platform.SetRegistryText(kHkeyCurrentUser, kHttp + std::u16string(u"\\UserChoice"), u"ProgId",
                               progid);
      break;
    case Place::kHistorical:
      platform.SetRegistryText(kHkeyCurrentUser, kHttp, u"Progid", progid);
      break;
  }
}

void SetOpenCommand(FakePlatform& platform, const std::u16string& progid,
                    const std::u16string& command, std::uint32_t type = kRegSz) {
  platform.SetRegistryText(kHkeyClassesRoot, progid + u"\\shell\\open\\command", u"", command,
                           type);
}

std::string Utf16Bytes(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

TEST(GetBrowserCommandFromRegistry, TakesTheFirstRecordedChoiceThatHasACommand) {
  struct Case {
    const char* what;
    bool latest, choice, historical;  // which places hold a ProgId with a command
    const char16_t* expected;
  };
  const Case cases[] = {
      {"all three", true, true, true, u"latest.exe %1"},
      {"UserChoice and the historical key", false, true, true, u"choice.exe %1"},
      {"UserChoiceLatest and the historical key", true, false, true, u"latest.exe %1"},
      {"the historical key alone", false, false, true, u"historical.exe %1"},
      {"none", false, false, false, u"http.exe %1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    if (c.latest) SetProgId(platform, Place::kUserChoiceLatest, u"LatestHTML");
    if (c.choice) SetProgId(platform, Place::kUserChoice, u"ChoiceHTML");
    if (c.historical) SetProgId(platform, Place::kHistorical, u"HistoricalHTML");
    SetOpenCommand(platform, u"LatestHTML", u"latest.exe %1");
    SetOpenCommand(platform, u"ChoiceHTML", u"choice.exe %1");
    SetOpenCommand(platform, u"HistoricalHTML", u"historical.exe %1");
    SetOpenCommand(platform, u"http", u"http.exe %1");
    EXPECT_EQ(GetBrowserCommandFromRegistry(platform, true), c.expected);
    EXPECT_TRUE(platform.open_keys.empty());
  }
}

TEST(GetBrowserCommandFromRegistry, AProgIdWithoutATextCommandFallsThrough) {
  struct Case {
    const char* what;
    void (*set_up_latest)(FakePlatform&);
  };
  const Case cases[] = {
      {"no such ProgId", [](FakePlatform&) {}},
      {"no command key",
       [](FakePlatform& p) { p.CreateRegistryKey(kHkeyClassesRoot, u"LatestHTML\\shell\\open"); }},
      {"a command key without a default value",
       [](FakePlatform& p) {
         p.SetRegistryText(kHkeyClassesRoot, u"LatestHTML\\shell\\open\\command", u"Other", u"x");
       }},
      {"a number as the command",
       [](FakePlatform& p) {
         p.SetRegistryValue(kHkeyClassesRoot, u"LatestHTML\\shell\\open\\command", u"", kRegDword,
                            std::string("\1\0\0\0", 4));
       }},
      {"bytes as the command",
       [](FakePlatform& p) {
         p.SetRegistryValue(kHkeyClassesRoot, u"LatestHTML\\shell\\open\\command", u"", kRegBinary,
                            Utf16Bytes(u"latest.exe %1"));
       }},
      // Only a packaged app's verb is the shell's to start, and ordinary browsers write an app
      // model id too.
      {"a description only, as uninstallers leave it",
       [](FakePlatform& p) { p.SetRegistryText(kHkeyClassesRoot, u"LatestHTML", u"", u"Gone"); }},
      {"an app model id",
       [](FakePlatform& p) {
         p.SetRegistryText(kHkeyClassesRoot, u"LatestHTML\\Application", u"AppUserModelID", u"A");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    SetProgId(platform, Place::kUserChoiceLatest, u"LatestHTML");
    SetProgId(platform, Place::kUserChoice, u"ChoiceHTML");
    SetOpenCommand(platform, u"ChoiceHTML", u"choice.exe %1");
    c.set_up_latest(platform);
    std::u16string progid;
    EXPECT_EQ(GetBrowserCommandFromRegistry(platform, false, &progid), u"choice.exe %1");
    EXPECT_TRUE(platform.open_keys.empty());
  }
}

TEST(GetBrowserCommandFromRegistry, AnHttpsAddressFollowsItsOwnChoiceFirst) {
  struct Case {
    bool https_choice, https_class, https;
    const char16_t* expected;
  };
  const Case cases[] = {{true, true, true, u"choice-s.exe %1"},
                        {false, true, true, u"class-s.exe %1"},
                        {false, false, true, u"choice.exe %1"},
                        {true, true, false, u"choice.exe %1"}};
  for (const Case& c : cases) {
    FakePlatform platform;
    SetProgId(platform, Place::kUserChoice, u"ChoiceHTML");
    SetOpenCommand(platform, u"ChoiceHTML", u"choice.exe %1");
    if (c.https_choice) {
      platform.SetRegistryText(kHkeyCurrentUser, kHttp + std::u16string(u"s\\UserChoice"),
                               u"ProgId", u"ChoiceS");
    }
    SetOpenCommand(platform, u"ChoiceS", u"choice-s.exe %1");
    if (c.https_class) SetOpenCommand(platform, u"https", u"class-s.exe %1");
    EXPECT_EQ(GetBrowserCommandFromRegistry(platform, true, nullptr, c.https), c.expected);
  }
}

// The current user's classes over the machine's, for the chosen ProgId and the http fallback.
TEST(GetBrowserCommandFromRegistry, ReadsClassesAsWindowsMergesThem) {
  for (const std::u16string progid : {u"ChoiceHTML", u"http"}) {
    for (const std::uint32_t roots : {1u, 2u, 3u}) {  // the user's, the machine's, both
      FakePlatform platform;
      SetProgId(platform, Place::kUserChoice, u"ChoiceHTML");
      const std::u16string key = u"Software\\Classes\\" + progid + u"\\shell\\open\\command";
      if (roots & 2) platform.SetRegistryText(kHkeyLocalMachine, key, u"", u"machine.exe %1");
      if (roots & 1) platform.SetRegistryText(kHkeyCurrentUser, key, u"", u"user.exe %1");
      EXPECT_EQ(GetBrowserCommandFromRegistry(platform, true),
                roots & 1 ? u"user.exe %1" : u"machine.exe %1");
    }
  }
}

TEST(GetBrowserCommandFromRegistry, UsesTheHttpKeyOnlyWhenAskedToFallBack) {
  FakePlatform platform;
  SetProgId(platform, Place::kUserChoice, u"BrokenHTML");
  SetOpenCommand(platform, u"http", u"\"C:\\b.exe\" %1");
  EXPECT_EQ(GetBrowserCommandFromRegistry(platform, true), u"\"C:\\b.exe\" %1");
  EXPECT_EQ(GetBrowserCommandFromRegistry(platform, false), u"");
}

TEST(GetBrowserCommandFromRegistry, NothingRecordedGivesEmptyText) {
  FakePlatform platform;
  EXPECT_EQ(GetBrowserCommandFromRegistry(platform, true), u"");
  EXPECT_EQ(GetBrowserCommandFromRegistry(platform, false), u"");
  EXPECT_TRUE(platform.open_keys.empty());
}

TEST(GetBrowserCommandFromRegistry, TurnsAProgIdOfAnyStoredFormIntoAKeyName) {
  struct Case {
    const char* what;
    std::uint32_t type;
    std::string bytes;
    std::u16string key;
  };
  const Case cases[] = {
      {"a number", kRegDword, std::string("\x2A\0\0\0", 4), u"42"},
      {"a negative number", kRegDword, std::string("\xF9\xFF\xFF\xFF", 4), u"-7"},
      {"UTF-16LE bytes", kRegBinary, Utf16Bytes(u"BytesHTML"), u"BytesHTML"},
      {"UTF-16LE bytes up to the first NUL", kRegBinary,
       Utf16Bytes(std::u16string(u"BytesHTML\0junk", 14)), u"BytesHTML"},
      {"UTF-16LE bytes with an odd last byte", kRegBinary, Utf16Bytes(u"BytesHTML") + "X",
       u"BytesHTML"},
      {"an eight-byte number, as bytes", kRegQword, Utf16Bytes(u"Qw\0\0"), u"Qw"},
      {"an expandable string, unexpanded", kRegExpandSz,
       Utf16Bytes(std::u16string(u"%P%HTML\0", 8)), u"%P%HTML"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.environment[u"P"] = u"Expanded";
    platform.SetRegistryValue(kHkeyCurrentUser, kHttp + std::u16string(u"\\UserChoice"), u"ProgId",
                              c.type, c.bytes);
    SetOpenCommand(platform, c.key, u"found.exe %1");
    SetOpenCommand(platform, u"http", u"fallback.exe %1");
    EXPECT_EQ(GetBrowserCommandFromRegistry(platform, true), u"found.exe %1");
  }
}

TEST(GetBrowserCommandFromRegistry, ReturnsAnExpandableCommandUnexpanded) {
  FakePlatform platform;
  platform.environment[u"ProgramFiles"] = u"C:\\Program Files";
  SetProgId(platform, Place::kUserChoice, u"ChoiceHTML");
  SetOpenCommand(platform, u"ChoiceHTML", u"\"%ProgramFiles%\\b.exe\" \"%1\"", kRegExpandSz);
  EXPECT_EQ(GetBrowserCommandFromRegistry(platform, true), u"\"%ProgramFiles%\\b.exe\" \"%1\"");
}

TEST(GetBrowserCommandFromRegistry, FailingRegistryCallsGiveEmptyText) {
  for (const Operation operation : {Operation::kOpenRegistryKey, Operation::kQueryRegistrySize,
                                    Operation::kQueryRegistryData}) {
    SCOPED_TRACE(static_cast<int>(operation));
    FakePlatform platform;
    SetProgId(platform, Place::kUserChoice, u"ChoiceHTML");
    SetOpenCommand(platform, u"ChoiceHTML", u"choice.exe %1");
    SetOpenCommand(platform, u"http", u"http.exe %1");
    platform.Fail(operation, 5);
    EXPECT_EQ(GetBrowserCommandFromRegistry(platform, true), u"");
    EXPECT_TRUE(platform.open_keys.empty());
  }
}

TEST(GetHttpOpenCommand, ReturnsTheDefaultValueOnlyWhenItIsText) {
  struct Case {
    const char* what;
    std::uint32_t type;
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"text", kRegSz, Utf16Bytes(std::u16string(u"b.exe \"%1\"\0", 11)), u"b.exe \"%1\""},
      {"expandable text, unexpanded", kRegExpandSz,
       Utf16Bytes(std::u16string(u"%P%\\b.exe %1\0", 13)), u"%P%\\b.exe %1"},
      {"a number", kRegDword, std::string("\1\0\0\0", 4), u""},
      {"bytes", kRegBinary, Utf16Bytes(u"b.exe %1"), u""},
      {"no type that is read", kRegNone, Utf16Bytes(u"b.exe %1"), u""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    FakePlatform platform;
    platform.environment[u"P"] = u"C:\\P";
    platform.SetRegistryValue(kHkeyClassesRoot, u"http\\shell\\open\\command", u"", c.type,
                              c.bytes);
    EXPECT_EQ(GetHttpOpenCommand(platform), c.expected);
  }
  FakePlatform empty;
  EXPECT_EQ(GetHttpOpenCommand(empty), u"");
}

}  // namespace
}  // namespace linkvane
