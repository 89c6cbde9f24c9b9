// The tests' model of how a started program splits its command line, checked against the
// system's own splitter, so that what the URL-safety tests conclude from it holds on Windows.

#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "fake/fake_platform.h"
#include "launcher/Module_Main.h"
#include "platform/win32/win32_platform.h"
#include "support/split_arguments.h"

namespace linkvane {
namespace {

using testing::SplitArguments;
using testing::U8;

std::vector<std::u16string> SystemSplit(const std::u16string& line) {
  using Splitter = LPWSTR* WINAPI(LPCWSTR, int*);
  static Splitter* const split = [] {
    const HMODULE shell32 = ::LoadLibraryW(L"shell32.dll");
    return reinterpret_cast<Splitter*>(
        reinterpret_cast<void*>(::GetProcAddress(shell32, "CommandLineToArgvW")));
  }();
  std::vector<std::u16string> arguments;
  if (split == nullptr) {
    ADD_FAILURE() << "no CommandLineToArgvW";
    return arguments;
  }
  int count = 0;
  LPWSTR* argv = split(win32::Wide(line), &count);
  for (int i = 0; i < count; ++i)
    arguments.push_back(win32::FromWide(argv[i], ::lstrlenW(argv[i])));
  ::LocalFree(argv);
  return arguments;
}

TEST(SplitArguments, MatchesTheSystemSplitter) {
  std::vector<std::u16string> lines = {
      u"p \"abc\" d e",
      u"p a\\\\\\b d\"e f\"g h",
      u"p a\\\\\\\"b c d",
      u"p a\\\\\\\\\"b c\" d e",
      u"\"C:\\Program Files\\b.exe\" \"x y\" z",
      u"p\t\"\"  \t",
      u"p \"a\"\"b\" \"\"\"\" \"\"\"\"\"\" a\"\"\"b",
      u"p \"unclosed \\\" arg",
      u"p trailing\\\\ \\\\\"",
      u"\"C:\\odd\"name.exe x",
  };
  // And what the URL-safety steps make of hostile URLs in a few templates.
  const std::u16string_view templates[] = {u"b.exe \"%s\"", u"b.exe %s -x", u"b.exe --a=\"%s\" %s"};
  const std::u16string_view urls[] = {u"http://a/\" --x=\"y", u"-x \\\"", u"a\\\\", u"\"\"\"",
                                      u"\\\" \\\\\" -y"};
  testing::FakePlatform platform;
  for (std::u16string_view command_template : templates) {
    for (std::u16string_view url : urls) {
      lines.push_back(Module_Main::SubstituteUrl(
          command_template,
          Module_Main::EncodeUnsafeUrlCharacters(platform, Module_Main::CleanUrl(url))));
      // Unencoded too, to exercise the quote rules.
      lines.push_back(Module_Main::SubstituteUrl(command_template, url));
    }
  }
  for (const std::u16string& line : lines) {
    EXPECT_EQ(SplitArguments(line), SystemSplit(line)) << U8(line);
  }
}

}  // namespace
}  // namespace linkvane

#endif
