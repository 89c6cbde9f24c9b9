#include "platform/command_line.h"

#include <gtest/gtest.h>

#include "fake/fake_platform.h"

namespace linkvane {
namespace {

TEST(CommandLineAfterProgramName, KeepsTheArgumentsAsWritten) {
  struct Case {
    std::u16string_view line, arguments;
  };
  const Case cases[] = {
      {u"\"C:\\Program Files\\Linkvane\\linkvane.exe\" \"C:\\a b.url\"", u"\"C:\\a b.url\""},
      {u"linkvane.exe C:\\a.url", u"C:\\a.url"},
      {u"linkvane.exe\t \tC:\\a.url", u"C:\\a.url"},
      {u"linkvane.exe   a  b  ", u"a  b  "},
      {u"\"linkvane.exe\"x.url", u"x.url"},
      {u"\"C:\\odd\"name.exe x", u"name.exe x"},
      {u"linkvane.exe \" C:\\a.url \"", u"\" C:\\a.url \""},
      // Nothing but blanks after the name is no argument at all.
      {u"linkvane.exe ", u""},
      {u"\"C:\\Linkvane\\linkvane.exe\" \t ", u""},
      {u"linkvane.exe", u""},
      {u"\"C:\\never closed.exe a b", u""},
      {u"\"\"", u""},
      {u"", u""},
      {u"linkvane.exe \"\"", u"\"\""},
      // A hand-written association that left the program's own path unquoted.
      {u"C:\\Program Files\\Linkvane\\linkvane.exe C:\\a b.url", u"C:\\a b.url"},
      {u"c:\\program files\\linkvane\\LINKVANE C:\\a.url", u"C:\\a.url"},
      {u"C:\\Program Files\\Linkvane\\linkvane.exe", u""},
      {u"C:\\Program Files\\Other\\linkvane.exe C:\\a.url",
       u"Files\\Other\\linkvane.exe C:\\a.url"},
      {u"C:\\Program C:\\a.url", u"C:\\a.url"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(CommandLineAfterProgramName(c.line, u"C:\\Program Files\\Linkvane\\linkvane.exe"),
              c.arguments)
        << testing::U8(c.line);
  }
}

}  // namespace
}  // namespace linkvane
