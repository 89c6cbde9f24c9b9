#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "system/systemfn.h"
#include "unit/system/registry_value_printer.h"

namespace linkvane {
namespace {

using systemfn::ReadRegistryValue;

constexpr wchar_t kParentKey[] = L"Software\\Linkvane tests";

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

std::u16string U16(const std::wstring& text) { return win32::FromWide(text.c_str(), text.size()); }

// Each test writes into a key of its own under HKEY_CURRENT_USER and removes it afterwards,
// whatever happened in between.
class RealRegistry : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::string name = test->name();
    key_name_ = std::wstring(kParentKey) + L"\\" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                std::wstring(name.begin(), name.end());
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, key_name_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                nullptr, &key_, nullptr),
              ERROR_SUCCESS);
    ASSERT_TRUE(::SetEnvironmentVariableW(L"LINKVANE_TEST_DIR", L"C:\\Linkvane test"));
  }

  void TearDown() override {
    if (key_ != nullptr) ::RegCloseKey(key_);
    EXPECT_EQ(::RegDeleteTreeW(HKEY_CURRENT_USER, key_name_.c_str()), ERROR_SUCCESS);
    // The shared parent goes too once no other test still has a key in it.
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kParentKey);
    HKEY left = nullptr;
    EXPECT_NE(::RegOpenKeyExW(HKEY_CURRENT_USER, key_name_.c_str(), 0, KEY_READ, &left),
              ERROR_SUCCESS);
    if (left != nullptr) ::RegCloseKey(left);
  }

  void Store(const wchar_t* name, DWORD type, const std::string& bytes,
             const wchar_t* subkey = L"") {
    HKEY target = key_;
    if (*subkey != L'\0') {
      ASSERT_EQ(
          ::RegCreateKeyExW(key_, subkey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target, nullptr),
          ERROR_SUCCESS);
    }
    // The system counts a NUL that directly follows a string's data as part of it, so the
    // data is followed by something else: values are stored exactly as given.
    const std::string guarded = bytes + "\x7F\x7F";
    const LSTATUS status =
        ::RegSetValueExW(target, name, 0, type, reinterpret_cast<const BYTE*>(guarded.data()),
                         static_cast<DWORD>(bytes.size()));
    if (target != key_) ::RegCloseKey(target);
    ASSERT_EQ(status, ERROR_SUCCESS) << "storing a value of type " << type;
  }

  // The reader's path to a value of the test's key, under the given root text.
  std::u16string PathOf(const std::u16string& value, const std::u16string& root = u"HKCU") const {
    return root + u"\\" + U16(key_name_) + u"\\" + value;
  }

  win32::Win32Platform platform_;
  std::wstring key_name_;
  HKEY key_ = nullptr;
};

TEST_F(RealRegistry, ReadsBackValuesOfEveryType) {
  struct Case {
    const wchar_t* name;
    DWORD type;
    std::string bytes;
    RegistryValue as_stored;
    RegistryValue interpreted;
  };
  const Case cases[] = {
      {L"sz", REG_SZ, Utf16Bytes(std::u16string(u"plain text\0", 11)),
       RegistryValue::Text(u"plain text"), RegistryValue::Text(u"plain text")},
      {L"sz unterminated", REG_SZ, Utf16Bytes(u"abc"), RegistryValue::Text(u"abc"),
       RegistryValue::Text(u"abc")},
      {L"sz without data", REG_SZ, "", RegistryValue::Text(u""), RegistryValue::Text(u"")},
      {L"sz odd size", REG_SZ, Utf16Bytes(u"ab") + "c", RegistryValue::Text(u"ab"),
       RegistryValue::Text(u"ab")},
      {L"sz beyond ASCII", REG_SZ, Utf16Bytes(std::u16string(u"\u00e9\u5b98\0", 3)),
       RegistryValue::Text(u"\u00e9\u5b98"), RegistryValue::Text(u"\u00e9\u5b98")},
      {L"multi", REG_MULTI_SZ, Utf16Bytes(std::u16string(u"a\0b\0\0", 5)),
       RegistryValue::Text(std::u16string(u"a\0b\0", 4)), RegistryValue::TextList({u"a", u"b"})},
      {L"expand", REG_EXPAND_SZ, Utf16Bytes(std::u16string(u"%LINKVANE_TEST_DIR%\\b.exe\0", 26)),
       RegistryValue::Text(u"%LINKVANE_TEST_DIR%\\b.exe"),
       RegistryValue::Text(u"C:\\Linkvane test\\b.exe")},
      {L"dword", REG_DWORD, Raw({0x78, 0x56, 0x34, 0x12}), RegistryValue::Integer(0x12345678),
       RegistryValue::Integer(0x12345678)},
      {L"dword negative", REG_DWORD, Raw({0xFF, 0xFF, 0xFF, 0xFF}), RegistryValue::Integer(-1),
       RegistryValue::Integer(-1)},
      {L"dword 2 bytes", REG_DWORD, Raw({0x34, 0x12}), RegistryValue::Integer(0x1234),
       RegistryValue::Integer(0x1234)},
      {L"dword 8 bytes", REG_DWORD, Raw({1, 0, 0, 0, 0, 0, 0, 0}), RegistryValue(),
       RegistryValue()},
      {L"big endian", REG_DWORD_BIG_ENDIAN, Raw({0x12, 0x34, 0x56, 0x78}), RegistryValue(),
       RegistryValue()},
      {L"none", REG_NONE, Raw({1, 2, 3}), RegistryValue(), RegistryValue()},
      {L"qword", REG_QWORD, Raw({1, 2, 3, 4, 5, 6, 7, 0x88}),
       RegistryValue::Bytes({1, 2, 3, 4, 5, 6, 7, 0x88}),
       RegistryValue::Bytes({1, 2, 3, 4, 5, 6, 7, 0x88})},
      {L"binary", REG_BINARY, Raw({0, 0xFF, 0x10}), RegistryValue::Bytes({0, 0xFF, 0x10}),
       RegistryValue::Bytes({0, 0xFF, 0x10})},
      {L"binary without data", REG_BINARY, "", RegistryValue::Bytes({}), RegistryValue::Bytes({})},
  };
  for (const Case& c : cases) Store(c.name, c.type, c.bytes);
  for (const Case& c : cases) {
    const std::u16string path = PathOf(U16(c.name));
    EXPECT_EQ(ReadRegistryValue(platform_, path, false), c.as_stored) << U16(c.name).size();
    EXPECT_EQ(ReadRegistryValue(platform_, path, true), c.interpreted) << U16(c.name).size();
  }
}

TEST_F(RealRegistry, ReadsTheDefaultValueThroughAFinalBackslash) {
  Store(L"", REG_SZ, Utf16Bytes(std::u16string(u"\"C:\\b.exe\" \"%1\"\0", 16)),
        L"shell\\open\\command");
  Store(L"command", REG_SZ, Utf16Bytes(std::u16string(u"named\0", 6)), L"shell\\open");
  EXPECT_EQ(ReadRegistryValue(platform_, PathOf(u"shell\\open\\command\\"), false),
            RegistryValue::Text(u"\"C:\\b.exe\" \"%1\""));
  EXPECT_EQ(ReadRegistryValue(platform_, PathOf(u"shell\\open\\command"), false),
            RegistryValue::Text(u"named"));
}

TEST_F(RealRegistry, FindsTheCurrentUsersHiveUnderAnySpellingOfItsName) {
  Store(L"ProgId", REG_SZ, Utf16Bytes(std::u16string(u"ChosenHTML\0", 11)));
  for (const std::u16string root :
       {u"HKEY_CURRENT_USER", u"hkey_current_user", u"HKCU", u"hkcu", u"HkCu"}) {
    EXPECT_EQ(ReadRegistryValue(platform_, PathOf(u"progid", root), false),
              RegistryValue::Text(u"ChosenHTML"))
        << root.size();
  }
  // Another hive does not hold the test's key.
  EXPECT_EQ(ReadRegistryValue(platform_, PathOf(u"ProgId", u"HKLM"), false), RegistryValue());
}

TEST_F(RealRegistry, MissingKeysAndValuesAreEmpty) {
  Store(L"present", REG_SZ, Utf16Bytes(std::u16string(u"x\0", 2)));
  EXPECT_EQ(ReadRegistryValue(platform_, PathOf(u"absent"), false), RegistryValue());
  EXPECT_EQ(ReadRegistryValue(platform_, PathOf(u"no such key\\present"), false), RegistryValue());
  // The key exists but has no default value.
  EXPECT_EQ(ReadRegistryValue(platform_, PathOf(u""), false), RegistryValue());
}

TEST_F(RealRegistry, ReadsALongValueWhole) {
  std::u16string text;
  for (int i = 0; i < 5000; ++i) text.push_back(char16_t(u'a' + i % 26));
  Store(L"long", REG_SZ, Utf16Bytes(text + u'\0'));
  EXPECT_EQ(ReadRegistryValue(platform_, PathOf(u"long"), false), RegistryValue::Text(text));
}

}  // namespace
}  // namespace linkvane
