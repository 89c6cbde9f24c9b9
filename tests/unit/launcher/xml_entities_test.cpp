#include <gtest/gtest.h>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"

namespace linkvane {
namespace {

using Module_Main::DecodeXmlEntities;
using testing::U8;

TEST(DecodeXmlEntities, DecodesPredefinedEntitiesAndCharacterReferences) {
  struct Case {
    std::u16string_view text, decoded;
  };
  const Case cases[] = {
      {u"&amp;&lt;&gt;&quot;&apos;", u"&<>\"'"},
      {u"?a=1&amp;b=2&amp;c=3", u"?a=1&b=2&c=3"},
      {u"&#65;&#x41;&#x6a;&#X41;", u"AAj&#X41;"},
      {u"&#233;&#xE9;&#x5B98;", u"\u00E9\u00E9\u5B98"},
      {u"&#x1F600;&#128512;", u"\U0001F600\U0001F600"},
      {u"&#9;&#10;&#x20;", u"\t\n "},
      {u"&#x10FFFF;", u"\U0010FFFF"},
      // Decoded once: the text that a reference stands for is not read again.
      {u"&amp;amp;&amp;#65;", u"&amp;&#65;"},
      {u"&&amp;;", u"&&;"},
      {u"no references", u"no references"},
      {u"", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeXmlEntities(c.text), c.decoded) << U8(c.text);
}

TEST(DecodeXmlEntities, LeavesAnythingElseAsWritten) {
  constexpr std::u16string_view kUntouched[] = {
      u"&nbsp;",      u"&AMP;",   u"&amp",     u"a & b",          u"&;",
      u"&#;",         u"&#x;",    u"&#65a;",   u"&#xG1;",         u"&#-65;",
      u"&#0;",        u"&#x0;",   u"&#xD800;", u"&#xDFFF;",       u"&#x110000;",
      u"&#99999999;", u"&#x41 ;", u"& amp;",   u"&#x4294967361;", u"tail &",
  };
  for (std::u16string_view text : kUntouched) {
    EXPECT_EQ(DecodeXmlEntities(text), text) << U8(text);
  }
}

}  // namespace
}  // namespace linkvane
