#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "system/systemfn.h"

namespace linkvane {
namespace {

using systemfn::ExpandEnvironmentString;
using testing::FakePlatform;
using testing::Operation;
using testing::U8;

TEST(ExpandEnvironmentString, FollowsThePlatformsExpansionRules) {
  struct Case {
    std::u16string text;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"", u""},
      {u"C:\\Browser\\b.exe -url \"%s\"", u"C:\\Browser\\b.exe -url \"%s\""},
      {u"%ProgramFiles%\\b.exe", u"C:\\Program Files\\b.exe"},
      {u"%programfiles%\\b.exe", u"C:\\Program Files\\b.exe"},
      {u"%UNDEFINED%\\b.exe", u"%UNDEFINED%\\b.exe"},
      {u"http://h/a%20b", u"http://h/a%20b"},
      {u"100%", u"100%"},
      {u"%%", u"%%"},
      // An unknown name is kept whole, its closing percent sign too, which so begins no name.
      {u"http://h/a%20b%ProgramFiles%", u"http://h/a%20b%ProgramFiles%"},
      {u"%UNDEFINED%ProgramFiles%", u"%UNDEFINED%ProgramFiles%"},
      {u"%UNDEFINED%%ProgramFiles%", u"%UNDEFINED%C:\\Program Files"},
      {u"%A%%A%", u"11"},
      {u"\u00e9%A%\u4e2d", u"\u00e91\u4e2d"},
  };
  FakePlatform platform;
  platform.environment[u"ProgramFiles"] = u"C:\\Program Files";
  platform.environment[u"A"] = u"1";
  for (const Case& c : cases) {
    EXPECT_EQ(ExpandEnvironmentString(platform, c.text), c.expected) << U8(c.text);
  }
}

TEST(ExpandEnvironmentString, AFailingPlatformGivesEmptyText) {
  FakePlatform platform;
  platform.environment[u"A"] = u"1";
  platform.Fail(Operation::kExpandEnvironment);
  EXPECT_EQ(ExpandEnvironmentString(platform, u"plain"), u"");
  EXPECT_EQ(ExpandEnvironmentString(platform, u"%A%"), u"");
}

// Answers the two calls with scripted results, writing text into the buffer on the second.
class ScriptedExpansion : public FakePlatform {
 public:
  struct Call {
    bool with_buffer;
    std::uint32_t size;
  };
  std::deque<std::uint32_t> results;
  std::u16string written;
  std::vector<Call> calls;

  std::uint32_t ExpandEnvironment(const std::u16string&, char16_t* destination,
                                  std::uint32_t size) override {
    calls.push_back({destination != nullptr, size});
    if (destination != nullptr) {
      std::copy_n(written.begin(), std::min<std::size_t>(written.size(), size), destination);
    }
    const std::uint32_t result = results.empty() ? 0 : results.front();
    if (!results.empty()) results.pop_front();
    return result;
  }
};

TEST(ExpandEnvironmentString, AsksForTheSizeThenExpandsIntoABufferOfThatSize) {
  ScriptedExpansion platform;
  platform.results = {6, 6};
  platform.written = std::u16string(u"value\0", 6);
  EXPECT_EQ(ExpandEnvironmentString(platform, u"%V%"), u"value");
  ASSERT_EQ(platform.calls.size(), 2u);
  EXPECT_FALSE(platform.calls[0].with_buffer);
  EXPECT_EQ(platform.calls[0].size, 0u);
  EXPECT_TRUE(platform.calls[1].with_buffer);
  EXPECT_EQ(platform.calls[1].size, 6u);
}

TEST(ExpandEnvironmentString, KeepsOnlyWhatTheSecondCallReportsWritten) {
  ScriptedExpansion platform;
  // The first answer may overestimate; the second is what counts.
  platform.results = {10, 4};
  platform.written = std::u16string(u"abc\0", 4);
  EXPECT_EQ(ExpandEnvironmentString(platform, u"%V%"), u"abc");
}

TEST(ExpandEnvironmentString, EitherCallFailingGivesEmptyText) {
  struct Case {
    const char* what;
    std::deque<std::uint32_t> results;
  };
  const Case cases[] = {
      {"size query fails", {0}},
      {"expansion fails", {6, 0}},
      // A variable that grew between the calls: the buffer holds no complete expansion.
      {"expansion needs more than the size query said", {6, 9}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ScriptedExpansion platform;
    platform.results = c.results;
    platform.written = std::u16string(u"value\0", 6);
    EXPECT_EQ(ExpandEnvironmentString(platform, u"%V%"), u"");
    EXPECT_EQ(platform.calls.size(), c.results.size());
  }
}

}  // namespace
}  // namespace linkvane
