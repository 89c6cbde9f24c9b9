#include <gtest/gtest.h>

#include <string_view>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"

namespace linkvane {
namespace {

using namespace std::string_view_literals;
using Module_Main::AddBackslash;
using Module_Main::ReadFirstLine;
using testing::FakePlatform;
using testing::Operation;

TEST(AddBackslash, EndsAFolderWithExactlyOneBackslash) {
  EXPECT_EQ(AddBackslash(u""), u"");
  EXPECT_EQ(AddBackslash(u"C:\\"), u"C:\\");
  EXPECT_EQ(AddBackslash(u"C:\\Program Files\\Linkvane"), u"C:\\Program Files\\Linkvane\\");
  EXPECT_EQ(AddBackslash(u"\\\\server\\share\\"), u"\\\\server\\share\\");
  EXPECT_EQ(AddBackslash(u"C:\\dir/"), u"C:\\dir/\\");
}

TEST(ReadFirstLine, EndsTheLineAtAnyLineEndAndDecodesTheText) {
  struct Case {
    const char* name;
    std::string_view bytes;
    std::u16string_view line;
  };
  const Case cases[] = {
      {"CR", "first\rsecond", u"first"},
      {"LF", "first\nsecond\n", u"first"},
      {"CR LF", "first\r\nsecond\r\n", u"first"},
      {"LF CR", "first\n\rsecond", u"first"},
      {"no line end", "only line", u"only line"},
      {"empty first line", "\r\nsecond", u""},
      {"empty file", "", u""},
      {"spaces kept", "  \"b.exe\" %s  \r\n", u"  \"b.exe\" %s  "},
      {"UTF-8 mark",
       "\xEF\xBB\xBF"
       "b.exe %s\r\n",
       u"b.exe %s"},
      {"UTF-8 mark alone", "\xEF\xBB\xBF", u""},
      {"UTF-16LE mark",
       "\xFF\xFE"
       "b\0.\0\xE9\0\r\0\n\0x\0"sv,
       u"b.\u00E9"},
      {"UTF-16BE mark",
       "\xFE\xFF"
       "\0b\0.\0\xE9\0\n\0x"sv,
       u"b.\u00E9"},
      // A character whose UTF-16 form holds the byte of a carriage return is no line end.
      {"UTF-16LE CR byte inside",
       "\xFF\xFE"
       "\x0D\x01\x0A\x0D\n\0z\0"sv,
       u"\u010D\u0D0A"},
      {"UTF-8", "C:\\Br\xC3\xA4u\\\xE5\xAE\x98.exe %s\n", u"C:\\Br\u00E4u\\\u5B98.exe %s"},
      {"ANSI", "C:\\Br\xE4u\\b.exe %s \x80\n", u"C:\\Br\u00E4u\\b.exe %s \u20AC"},
      // Invalid UTF-8 anywhere in the file makes all of it ANSI.
      {"ANSI late", "C:\\Br\xC3\xA4u\\b.exe\nsecond \xFF\n", u"C:\\Br\u00C3\u00A4u\\b.exe"},
  };
  for (const Case& c : cases) {
    FakePlatform platform;
    platform.AddFile(u"C:\\Linkvane\\browser.dat", std::string(c.bytes));
    EXPECT_EQ(ReadFirstLine(platform, u"C:\\Linkvane\\browser.dat"), c.line) << c.name;
  }
}

TEST(ReadFirstLine, AFileThatCannotBeReadGivesAnEmptyLine) {
  FakePlatform platform;
  EXPECT_EQ(ReadFirstLine(platform, u"C:\\Linkvane\\browser.dat"), u"");

  platform.AddFile(u"C:\\Linkvane\\browser.dat", "b.exe %s\r\n");
  platform.folders.insert(u"C:\\Linkvane");
  EXPECT_EQ(ReadFirstLine(platform, u"C:\\Linkvane"), u"");
  for (Operation failing : {Operation::kOpenFile, Operation::kReadFile}) {
    platform.Fail(failing);
    EXPECT_EQ(ReadFirstLine(platform, u"C:\\Linkvane\\browser.dat"), u"");
    platform.Succeed(failing);
  }
  EXPECT_EQ(ReadFirstLine(platform, u"C:\\Linkvane\\browser.dat"), u"b.exe %s");
}

}  // namespace
}  // namespace linkvane
