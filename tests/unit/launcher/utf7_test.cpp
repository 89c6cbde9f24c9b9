#include "launcher/utf7.h"

#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace linkvane::Module_Main {
namespace {

using testing::U16;
using testing::U8;

TEST(DecodeUtf7, DecodesDirectCharactersAndBase64Runs) {
  struct Case {
    std::u16string_view encoded;
    const char* expected;  // UTF-8
  };
  const Case cases[] = {
      {u"http://example.com/a?b=c", "http://example.com/a?b=c"},
      {u"", ""},
      {u"caf+AOk-", "café"},
      {u"+ZeVnLIqe-", "日本語"},
      // A pair of surrogates spread over one run.
      {u"+2D3eAA-", "\U0001F600"},
      // The "-" that ends a run is absorbed; the one after it is text.
      {u"Hi Mom -+Jjo--!", "Hi Mom -☺-!"},
      // "+-" is a plus sign, also right after a run.
      {u"a+-b", "a+b"},
      {u"+AOk-+-", "é+"},
      {u"+-+-", "++"},
      // A run ended by a character outside base64 keeps that character.
      {u"https://+T4swSA.+MMYwuTDI-/+MNEwuQ?q=+APw-", "https://例え.テスト/パス?q=ü"},
      // A run that the text ends.
      {u"caf+AOk", "café"},
      {u"+AOkA6Q", "éé"},
      {u"+AOkA6Q-+AOk-", "ééé"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(U8(DecodeUtf7(c.encoded)), c.expected) << U8(c.encoded);
  }
}

TEST(DecodeUtf7, KeepsGoingAfterMalformedRuns) {
  struct Case {
    std::u16string_view encoded;
    const char* expected;
  };
  const Case cases[] = {
      // A "+" that starts no run is taken as itself.
      {u"a+ b", "a+ b"},
      {u"a+", "a+"},
      {u"a+?b", "a+?b"},
      // One base64 character cannot finish a code unit: a replacement character marks the loss.
      {u"a+A-b",
       "a\xEF\xBF\xBD"
       "b"},
      // Leftover bits that are not zero.
      {u"+AOl-x",
       "é\xEF\xBF\xBD"
       "x"},
      // Non-ASCII text outside a run passes through.
      {u"\u00E9+AOk-", "éé"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeUtf7(c.encoded), U16(c.expected)) << U8(c.encoded);
  }
}

}  // namespace
}  // namespace linkvane::Module_Main
