#include <gtest/gtest.h>

#include <string>

#include "platform/win32/win32_platform.h"
#include "system/systemfn.h"

namespace linkvane {
namespace {

using systemfn::ExpandEnvironmentString;

std::string Narrow(const std::u16string& text) {
  std::string out;
  for (const char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  return out;
}

TEST(ExpandEnvironmentStringOnWindows, FollowsTheSystemsExpansionRules) {
  std::wstring long_value(3000, L'v');
  ASSERT_TRUE(::SetEnvironmentVariableW(L"LINKVANE_TEST_DIR", L"C:\\Linkvane test"));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"LINKVANE_TEST_LONG", long_value.c_str()));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"LINKVANE_TEST_WIDE", L"\u00e9\u5b98"));
  ASSERT_TRUE(::SetEnvironmentVariableW(L"40b", L"X"));
  ::SetEnvironmentVariableW(L"LINKVANE_TEST_UNDEFINED", nullptr);
  const std::u16string long_text(long_value.begin(), long_value.end());

  struct Case {
    std::u16string text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"", u""},
      {u"\"C:\\Browser\\b.exe\" -url \"%s\"", u"\"C:\\Browser\\b.exe\" -url \"%s\""},
      {u"%LINKVANE_TEST_DIR%\\b.exe", u"C:\\Linkvane test\\b.exe"},
      {u"%linkvane_test_dir%\\b.exe", u"C:\\Linkvane test\\b.exe"},
      {u"%LINKVANE_TEST_UNDEFINED%\\b.exe", u"%LINKVANE_TEST_UNDEFINED%\\b.exe"},
      {u"100%", u"100%"},
      // A percent sign escaping a URL's character counts only once a later one closes the name
      // of a defined variable.
      {u"http://h/a%20b", u"http://h/a%20b"},
      {u"http://h/a%20b%c", u"http://h/a%20b%c"},
      {u"http://h/a%40b%c", u"http://h/aXc"},
      {u"[%LINKVANE_TEST_WIDE%]", u"[\u00e9\u5b98]"},
      {u"%LINKVANE_TEST_LONG%|%LINKVANE_TEST_LONG%", long_text + u"|" + long_text},
  };
  win32::Win32Platform platform;
  for (const Case& c : cases) {
    EXPECT_EQ(ExpandEnvironmentString(platform, c.text), c.expected) << Narrow(c.text);
  }
}

}  // namespace
}  // namespace linkvane
