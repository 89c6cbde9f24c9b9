#include "launcher/site_rules.h"

#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace linkvane {
namespace {

using namespace Module_Main;
using testing::FakePlatform;

// The rule a URL meets is the one for the host a browser opens, never the one it looks like.
TEST(SiteRules, AUrlMeetsTheMostSpecificRuleForTheHostABrowserOpens) {
  const std::vector<SiteRule> rules = ParseSiteRules(
      u"# comment\r\nexample.com a.exe %s\r\ndocs.example.com d.exe \"%s\"\nxn--bcher-kva.example "
      u"b.exe %s\rnoplaceholder.example n.exe\r\n  \r\nb\u00FCcher.example u.exe %s\r\n");
  const struct {
    const char16_t* url;
    const char16_t* expected;  // the template, "" for none
  } cases[] = {
      {u"https://example.com/", u"a.exe %s"},
      {u"https://www.example.com/a", u"a.exe %s"},
      {u"https://docs.example.com/", u"d.exe \"%s\""},
      {u"http://a.docs.example.com", u"d.exe \"%s\""},
      {u"https://badexample.com/", u""},
      {u"HTTP://EXAMPLE.com./x", u"a.exe %s"},
      {u"https:\\\\example.com:8443\\x", u"a.exe %s"},
      {u"https://user:p@ss@example.com/", u"a.exe %s"},
      {u"https://evil.test\\@example.com/", u""},
      {u"https://example.com@evil.test/", u""},
      {u"https://example.com#@evil.test/", u"a.exe %s"},
      {u"https://ex%61mple.com/", u""},
      {u"https://203.0.113.9/", u""},
      {u"http://0x5db8d822/", u""},
      {u"https://[::1]/", u""},
      {u"https://ex\u0430mple.com/", u""},  // a Cyrillic a
      {u"https://b\u00FCcher.example/", u"b.exe %s"},
      {u"https://noplaceholder.example/", u""},
      {u"ftp://example.com/", u""},
  };
  FakePlatform platform;
  platform.idn = {{u"ex\u0430mple.com", u"xn--exmple-4nf.com"},
                  {u"b\u00FCcher.example", u"xn--bcher-kva.example"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::U8(c.url));
    const std::optional<std::u16string> host = UrlHost(platform, c.url);
    const std::optional<SiteRule> rule = host ? MatchSiteRule(rules, *host) : std::nullopt;
    EXPECT_EQ(rule ? rule->command_template : u"", c.expected);
  }
}

TEST(SiteRules, ARuleIsReplacedOrRemovedAndEveryOtherLineKept) {
  const std::u16string text = u"# mine\r\nwww.x.test old %s\r\nx.test old %s\r\nnonsense\r\n";
  EXPECT_EQ(WithSiteRule(text, RuleHostOf(u"www.x.test"), u"new %s"),
            u"# mine\r\nwww.x.test old %s\r\nnonsense\r\nx.test new %s\r\n");
  EXPECT_EQ(WithSiteRule(text, u"x.test", std::nullopt),
            u"# mine\r\nwww.x.test old %s\r\nnonsense\r\n");
  EXPECT_EQ(ParseSiteRules(WithSiteRule(u"", u"y.test", u"b %s")).size(), 1u);
}

}  // namespace
}  // namespace linkvane
