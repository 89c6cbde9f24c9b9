#include "text/case_insensitive.h"

#include <gtest/gtest.h>

namespace linkvane {
namespace {

TEST(FindNoCase, FindsAcrossLetterCaseAndHonoursStart) {
  struct Case {
    std::u16string_view haystack, needle;
    std::size_t start, expected;
  };
  const Case cases[] = {
      {u"BASEURL=x", u"url=", 0, 4},
      {u"abc%S%s", u"%s", 0, 3},
      {u"abc%S%s", u"%s", 4, 5},
      {u"abc", u"abcd", 0, kNotFound},
      {u"abc", u"", 3, 3},
      {u"abc", u"a", 4, kNotFound},
      // Only ASCII letters fold: the Kelvin sign and the long s are not "k" and "s".
      {u"\u212A", u"k", 0, kNotFound},
      {u"%\u017F", u"%s", 0, kNotFound},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FindNoCase(c.haystack, c.needle, c.start), c.expected)
        << std::string(c.haystack.begin(), c.haystack.end());
  }
}

TEST(FindLastNoCase, FindsTheLastOccurrence) {
  EXPECT_EQ(FindLastNoCase(u"%1 a %1", u"%1"), 5u);
  EXPECT_EQ(FindLastNoCase(u"%1", u"%1"), 0u);
  EXPECT_EQ(FindLastNoCase(u"none", u"%1"), kNotFound);
  EXPECT_EQ(FindLastNoCase(u"", u"%1"), kNotFound);
}

TEST(CaseInsensitiveComparison, EqualsEndsWithAndUpperCase) {
  EXPECT_TRUE(EqualsNoCase(u"hkcu", u"HKCU"));
  EXPECT_FALSE(EqualsNoCase(u"HKCU", u"HKCU\\"));
  EXPECT_TRUE(EndsWithNoCase(u"a.WEBLOC", u".webloc"));
  EXPECT_FALSE(EndsWithNoCase(u"a.webloc.txt", u".webloc"));
  EXPECT_FALSE(EndsWithNoCase(u"loc", u".webloc"));
  EXPECT_EQ(ToUpperAscii(u"Hkey_Users\u00e9"), u"HKEY_USERS\u00e9");
}

}  // namespace
}  // namespace linkvane
