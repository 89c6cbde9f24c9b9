#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "system/systemfn.h"
#include "unit/system/registry_value_printer.h"

namespace linkvane {
namespace {

using systemfn::ReadRegistryValue;
using testing::FakePlatform;
using testing::Operation;

constexpr char16_t kKey[] = u"Software\\Linkvane\\Values";
constexpr std::uint32_t kRegResourceList = 8;

// UTF-16LE bytes of text, with no terminating NUL added.
std::string Utf16Bytes(std::u16string_view text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::string Raw(std::initializer_list<int> values) {
  std::string bytes;
  for (int v : values) bytes.push_back(static_cast<char>(v));
  return bytes;
}

std::vector<std::uint8_t> ByteVector(const std::string& bytes) {
  return std::vector<std::uint8_t>(bytes.begin(), bytes.end());
}

std::u16string PathOf(std::u16string_view name) {
  return u"HKEY_CURRENT_USER\\" + std::u16string(kKey) + u"\\" + std::u16string(name);
}

// Records what the reader asks of the registry, on top of the fake's behaviour.
class RecordingPlatform : public FakePlatform {
 public:
  struct Open {
    std::uint32_t root;
    std::u16string subkey;
    std::uint32_t options;
    std::uint32_t access;
  };
  struct Query {
    std::u16string name;
    bool with_data;
    std::uint32_t size_in;
  };
  std::vector<Open> opens;
  std::vector<Query> queries;
  bool size_query_reports_more_data = false;

  std::int32_t OpenRegistryKey(std::uint32_t root, const std::u16string& subkey,
                               std::uint32_t options, std::uint32_t access,
                               RegistryKey& key) override {
    opens.push_back({root, subkey, options, access});
    return FakePlatform::OpenRegistryKey(root, subkey, options, access, key);
  }
  std::int32_t QueryRegistryValue(RegistryKey key, const std::u16string& name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) override {
    queries.push_back({name, data != nullptr, size != nullptr ? *size : 0});
    const std::int32_t result = FakePlatform::QueryRegistryValue(key, name, type, data, size);
    if (data == nullptr && result == kErrorSuccess && size_query_reports_more_data) {
      return kErrorMoreData;
    }
    return result;
  }
};

struct TypeCase {
  const char* what;
  std::uint32_t type;
  std::string bytes;
  RegistryValue uninterpreted;
  RegistryValue interpreted;
};

TEST(ReadRegistryValue, ConvertsEachValueTypeWithAndWithoutInterpretation) {
  const std::u16string multi_raw(u"a\0b\0", 4);
  const std::u16string multi_gap(u"a\0\0b\0", 5);
  const TypeCase cases[] = {
      {"REG_SZ", kRegSz, Utf16Bytes(std::u16string(u"hello\0", 6)), RegistryValue::Text(u"hello"),
       RegistryValue::Text(u"hello")},
      {"REG_EXPAND_SZ", kRegExpandSz, Utf16Bytes(std::u16string(u"%HOME%\\x\0", 9)),
       RegistryValue::Text(u"%HOME%\\x"), RegistryValue::Text(u"C:\\Users\\me\\x")},
      {"REG_EXPAND_SZ with an undefined name", kRegExpandSz,
       Utf16Bytes(std::u16string(u"%NOPE%\0", 7)), RegistryValue::Text(u"%NOPE%"),
       RegistryValue::Text(u"%NOPE%")},
      {"REG_MULTI_SZ a/b", kRegMultiSz, Utf16Bytes(std::u16string(u"a\0b\0\0", 5)),
       RegistryValue::Text(multi_raw), RegistryValue::TextList({u"a", u"b"})},
      {"REG_MULTI_SZ with an empty string inside", kRegMultiSz,
       Utf16Bytes(std::u16string(u"a\0\0b\0\0", 6)), RegistryValue::Text(multi_gap),
       RegistryValue::TextList({u"a", u"", u"b"})},
      {"REG_MULTI_SZ whose last string has no NUL", kRegMultiSz,
       Utf16Bytes(std::u16string(u"a\0b", 3)), RegistryValue::Text(std::u16string(u"a\0b", 3)),
       RegistryValue::TextList({u"a", u"b"})},
      {"REG_MULTI_SZ holding only its terminator", kRegMultiSz, Raw({0, 0}),
       RegistryValue::Text(u""), RegistryValue::TextList({})},
      {"REG_MULTI_SZ without data", kRegMultiSz, "", RegistryValue::Text(u""),
       RegistryValue::TextList({})},
      {"REG_DWORD", kRegDword, Raw({0x78, 0x56, 0x34, 0x12}), RegistryValue::Integer(0x12345678),
       RegistryValue::Integer(0x12345678)},
      {"REG_DWORD with the sign bit", kRegDword, Raw({0xFE, 0xFF, 0xFF, 0xFF}),
       RegistryValue::Integer(-2), RegistryValue::Integer(-2)},
      {"REG_BINARY", kRegBinary, Raw({1, 0, 0xFF, 3}), RegistryValue::Bytes({1, 0, 0xFF, 3}),
       RegistryValue::Bytes({1, 0, 0xFF, 3})},
      {"REG_BINARY without data", kRegBinary, "", RegistryValue::Bytes({}),
       RegistryValue::Bytes({})},
      {"REG_QWORD", kRegQword, Raw({1, 2, 3, 4, 5, 6, 7, 0x80}),
       RegistryValue::Bytes({1, 2, 3, 4, 5, 6, 7, 0x80}),
       RegistryValue::Bytes({1, 2, 3, 4, 5, 6, 7, 0x80})},
      {"REG_NONE", kRegNone, Raw({1, 2}), RegistryValue(), RegistryValue()},
      {"REG_DWORD_BIG_ENDIAN", kRegDwordBigEndian, Raw({0, 0, 0, 1}), RegistryValue(),
       RegistryValue()},
      {"REG_LINK", kRegLink, Utf16Bytes(u"\\Registry\\Machine"), RegistryValue(), RegistryValue()},
      {"REG_RESOURCE_LIST", kRegResourceList, Raw({1, 0, 0, 0}), RegistryValue(), RegistryValue()},
  };
  for (const TypeCase& c : cases) {
    for (const bool interpret : {false, true}) {
      SCOPED_TRACE(std::string(c.what) + (interpret ? ", interpreted" : ", as stored"));
      FakePlatform platform;
      platform.environment[u"HOME"] = u"C:\\Users\\me";
      platform.SetRegistryValue(kHkeyCurrentUser, kKey, u"Value", c.type, c.bytes);
      EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Value"), interpret),
                interpret ? c.interpreted : c.uninterpreted);
      EXPECT_TRUE(platform.open_keys.empty());
    }
  }
}

TEST(ReadRegistryValue, StringsLoseOnlyATerminatingNul) {
  struct Case {
    const char* what;
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {"no terminating NUL", Utf16Bytes(u"abc"), u"abc"},
      {"a command without its NUL", Utf16Bytes(u"\"C:\\f.exe\" \"%1\""), u"\"C:\\f.exe\" \"%1\""},
      {"no data at all", "", u""},
      {"only the terminator", Raw({0, 0}), u""},
      {"two terminators", Utf16Bytes(std::u16string(u"ab\0\0", 4)), std::u16string(u"ab\0", 3)},
      // An odd byte count: the half character is not read, nor anything after the data.
      {"odd byte count", Utf16Bytes(u"ab") + Raw({'c'}), u"ab"},
      {"odd byte count after the NUL", Utf16Bytes(std::u16string(u"ab\0", 3)) + Raw({'c'}), u"ab"},
      {"a single byte", Raw({'x'}), u""},
      {"beyond ASCII", Utf16Bytes(std::u16string(u"\u00e9\u4e2d\0", 3)), u"\u00e9\u4e2d"},
  };
  for (const Case& c : cases) {
    for (const std::uint32_t type : {kRegSz, kRegExpandSz}) {
      SCOPED_TRACE(std::string(c.what) + (type == kRegSz ? " (REG_SZ)" : " (REG_EXPAND_SZ)"));
      FakePlatform platform;
      platform.SetRegistryValue(kHkeyCurrentUser, kKey, u"Value", type, c.bytes);
      EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Value"), false),
                RegistryValue::Text(c.expected));
    }
  }
}

TEST(ReadRegistryValue, ExpansionFailureGivesEmptyText) {
  FakePlatform platform;
  platform.SetRegistryText(kHkeyCurrentUser, kKey, u"Value", u"%HOME%", kRegExpandSz);
  platform.Fail(Operation::kExpandEnvironment);
  EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Value"), true), RegistryValue::Text(u""));
  EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Value"), false), RegistryValue::Text(u"%HOME%"));
}

TEST(ReadRegistryValue, ShortDwordsAreZeroExtendedAndLongOnesRejected) {
  struct Case {
    std::string bytes;
    RegistryValue expected;
  };
  const Case cases[] = {
      {"", RegistryValue::Integer(0)},
      {Raw({0x34}), RegistryValue::Integer(0x34)},
      {Raw({0x34, 0x12}), RegistryValue::Integer(0x1234)},
      {Raw({0x56, 0x34, 0xF2}), RegistryValue::Integer(0xF23456)},
      {Raw({1, 0, 0, 0, 0}), RegistryValue()},
      {Raw({1, 0, 0, 0, 0, 0, 0, 0}), RegistryValue()},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.bytes.size()) + " bytes");
    RecordingPlatform platform;
    platform.SetRegistryValue(kHkeyCurrentUser, kKey, u"Value", kRegDword, c.bytes);
    EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Value"), false), c.expected);
    EXPECT_TRUE(platform.open_keys.empty());
    // The integer has room for four bytes, so no more may be asked for.
    ASSERT_EQ(platform.queries.size(), 2u);
    EXPECT_LE(platform.queries[1].size_in, 4u);
  }
}

TEST(ReadRegistryValue, AcceptsTheFiveRootsByEitherNameInAnyCase) {
  struct Case {
    std::u16string root_text;
    std::uint32_t root;
  };
  const Case cases[] = {
      {u"HKEY_CLASSES_ROOT", kHkeyClassesRoot},
      {u"hkcr", kHkeyClassesRoot},
      {u"HKEY_CURRENT_USER", kHkeyCurrentUser},
      {u"hkcu", kHkeyCurrentUser},
      {u"Hkey_Current_User", kHkeyCurrentUser},
      {u"HKEY_LOCAL_MACHINE", kHkeyLocalMachine},
      {u"HkLm", kHkeyLocalMachine},
      {u"hkey_users", kHkeyUsers},
      {u"HKU", kHkeyUsers},
      {u"HKEY_CURRENT_CONFIG", kHkeyCurrentConfig},
      {u"hkcc", kHkeyCurrentConfig},
  };
  const std::uint32_t roots[] = {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers,
                                 kHkeyCurrentConfig};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.root_text));
    RecordingPlatform platform;
    // The same value in every hive, each with its own text, so a wrong hive shows.
    for (const std::uint32_t root : roots) {
      platform.SetRegistryText(root, kKey, u"Value",
                               u"hive " + std::u16string(1, u'0' + (root & 7)));
    }
    EXPECT_EQ(ReadRegistryValue(platform, c.root_text + u"\\" + kKey + u"\\Value", false),
              RegistryValue::Text(u"hive " + std::u16string(1, u'0' + (c.root & 7))));
    ASSERT_EQ(platform.opens.size(), 1u);
    EXPECT_EQ(platform.opens[0].root, c.root);
    EXPECT_EQ(platform.opens[0].options, 0u);
    EXPECT_EQ(platform.opens[0].access, kKeyRead);
  }
}

TEST(ReadRegistryValue, SplitsKeyAndValueNameAtTheLastBackslash) {
  struct Case {
    std::u16string path;
    std::u16string subkey;
    std::u16string name;
  };
  const Case cases[] = {
      {u"HKCU\\Software\\Linkvane\\Values\\Value", u"Software\\Linkvane\\Values", u"Value"},
      {u"HKCU\\Software\\Linkvane\\Values\\", u"Software\\Linkvane\\Values\\", u""},
      {u"HKCU\\Software\\Value", u"Software", u"Value"},
      {u"HKCU\\Software\\", u"Software\\", u""},
      {u"HKCU\\Software\\Linkvane\\Values\\Name with spaces.and dots",
       u"Software\\Linkvane\\Values", u"Name with spaces.and dots"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::U8(c.path));
    RecordingPlatform platform;
    std::u16string stored_key = c.subkey;
    if (stored_key.back() == u'\\') stored_key.pop_back();
    platform.CreateRegistryKey(kHkeyCurrentUser, stored_key);
    ReadRegistryValue(platform, c.path, false);
    ASSERT_EQ(platform.opens.size(), 1u);
    EXPECT_EQ(platform.opens[0].subkey, c.subkey);
    ASSERT_FALSE(platform.queries.empty());
    EXPECT_EQ(platform.queries[0].name, c.name);
    EXPECT_TRUE(platform.open_keys.empty());
  }
}

TEST(ReadRegistryValue, APathEndingInBackslashReadsTheDefaultValue) {
  FakePlatform platform;
  platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"", u"default");
  platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open", u"command", u"named");
  EXPECT_EQ(ReadRegistryValue(platform, u"HKCR\\http\\shell\\open\\command\\", false),
            RegistryValue::Text(u"default"));
  EXPECT_EQ(ReadRegistryValue(platform, u"HKCR\\http\\shell\\open\\command", false),
            RegistryValue::Text(u"named"));
  EXPECT_TRUE(platform.open_keys.empty());
}

TEST(ReadRegistryValue, ARootOutsideTheTableIsEmptyWithoutAnyRegistryCall) {
  const std::u16string paths[] = {
      u"HKEY_PERFORMANCE_DATA\\Counters\\Value",
      u"HKPD\\Counters\\Value",
      u"HKEY_CURRENT_USERS\\Software\\Value",
      u"HKC\\Software\\Value",
      u"\\Software\\Value",
      // Unknown roots come back empty before the rest of the path is looked at.
      u"HKEY_PERFORMANCE_DATA\\Value",
      u"NOWHERE\\",
  };
  for (const std::u16string& path : paths) {
    SCOPED_TRACE(testing::U8(path));
    FakePlatform platform;
    platform.SetRegistryText(kHkeyPerformanceData, u"Counters", u"Value", u"x");
    EXPECT_EQ(ReadRegistryValue(platform, path, false), RegistryValue());
    EXPECT_EQ(platform.registry_calls, 0);
  }
}

TEST(ReadRegistryValue, PathsThatCannotBeSplitRaiseInvalidArgumentWithoutRegistryCalls) {
  const std::u16string paths[] = {
      u"",                   // no root separator at all
      u"HKEY_CURRENT_USER",  // a root alone
      u"NOWHERE",            // no separator, so the root is never looked up
      u"HKCU\\Value",        // a value directly under a root key
      u"HKLM\\",             // a bare root followed by "\"
  };
  for (const std::u16string& path : paths) {
    SCOPED_TRACE(testing::U8(path));
    FakePlatform platform;
    try {
      ReadRegistryValue(platform, path, false);
      ADD_FAILURE() << "no error raised";
    } catch (const PlatformError& error) {
      EXPECT_EQ(error.Number(), kErrorInvalidArgument);
      EXPECT_FALSE(error.Description().empty());
    }
    EXPECT_EQ(platform.registry_calls, 0);
  }
}

TEST(ReadRegistryValue, EveryFailingRegistryCallYieldsEmptyAndReleasesTheKey) {
  const Operation operations[] = {Operation::kOpenRegistryKey, Operation::kQueryRegistrySize,
                                  Operation::kQueryRegistryData};
  const std::uint32_t types[] = {kRegSz,    kRegExpandSz, kRegMultiSz,
                                 kRegDword, kRegBinary,   kRegQword};
  for (const Operation operation : operations) {
    for (const std::uint32_t type : types) {
      SCOPED_TRACE("operation " + std::to_string(static_cast<int>(operation)) + ", type " +
                   std::to_string(type));
      FakePlatform platform;
      platform.SetRegistryValue(kHkeyCurrentUser, kKey, u"Value", type, Raw({1, 0, 0, 0}));
      platform.Fail(operation, 5);
      EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Value"), true), RegistryValue());
      EXPECT_TRUE(platform.open_keys.empty());
    }
  }
}

TEST(ReadRegistryValue, MissingKeysAndValuesAreEmpty) {
  FakePlatform platform;
  platform.SetRegistryText(kHkeyCurrentUser, kKey, u"Value", u"x");
  platform.CreateRegistryKey(kHkeyCurrentUser, u"Software\\Empty");
  EXPECT_EQ(ReadRegistryValue(platform, u"HKCU\\Software\\Missing\\Value", false), RegistryValue());
  EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Other"), false), RegistryValue());
  EXPECT_EQ(ReadRegistryValue(platform, u"HKCU\\Software\\Empty\\", false), RegistryValue());
  // The value exists, but in another hive.
  EXPECT_EQ(ReadRegistryValue(platform, u"HKLM\\" + std::u16string(kKey) + u"\\Value", false),
            RegistryValue());
  EXPECT_TRUE(platform.open_keys.empty());
}

TEST(ReadRegistryValue, KeyAndValueNamesMatchWithoutRegardToCase) {
  FakePlatform platform;
  platform.SetRegistryText(kHkeyCurrentUser, kKey, u"ProgId", u"x");
  EXPECT_EQ(ReadRegistryValue(platform, u"hkcu\\SOFTWARE\\linkvane\\VALUES\\progid", false),
            RegistryValue::Text(u"x"));
}

TEST(ReadRegistryValue, ASizeQueryReportingMoreDataStillReads) {
  RecordingPlatform platform;
  platform.size_query_reports_more_data = true;
  platform.SetRegistryText(kHkeyCurrentUser, kKey, u"Value", u"text");
  EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Value"), false), RegistryValue::Text(u"text"));
  EXPECT_TRUE(platform.open_keys.empty());
}

// A value that grows between the size query and the data query no longer fits the buffer.
class GrowingValuePlatform : public FakePlatform {
 public:
  std::int32_t QueryRegistryValue(RegistryKey key, const std::u16string& name, std::uint32_t* type,
                                  std::uint8_t* data, std::uint32_t* size) override {
    const std::int32_t result = FakePlatform::QueryRegistryValue(key, name, type, data, size);
    if (data == nullptr) SetRegistryText(kHkeyCurrentUser, kKey, name, u"a much longer text");
    return result;
  }
};

TEST(ReadRegistryValue, AValueThatGrowsBetweenTheQueriesIsEmpty) {
  GrowingValuePlatform platform;
  platform.SetRegistryText(kHkeyCurrentUser, kKey, u"Value", u"ab");
  EXPECT_EQ(ReadRegistryValue(platform, PathOf(u"Value"), false), RegistryValue());
  EXPECT_TRUE(platform.open_keys.empty());
}

TEST(ReadRegistryValue, BinaryDataComesBackExactlyAsStored) {
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes.push_back(static_cast<char>(i * 7));
  FakePlatform platform;
  platform.SetRegistryValue(kHkeyLocalMachine, kKey, u"Blob", kRegBinary, bytes);
  EXPECT_EQ(ReadRegistryValue(platform, u"HKLM\\" + std::u16string(kKey) + u"\\Blob", false),
            RegistryValue::Bytes(ByteVector(bytes)));
}

}  // namespace
}  // namespace linkvane
