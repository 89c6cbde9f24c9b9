// The command line as Main builds it: the URL cleaned and expanded in an environment of hostile
// values, the template's stretches expanded apart, the URL encoded and put in place. The oracle:
// the command line, split as Windows splits it, has exactly the arguments of the template with
// the URL in place of each "%s" -- no more, no fewer, and none that the URL added or changed.

#include <string>
#include <vector>

#include "fake/fake_platform.h"
#include "fuzz_input.h"
#include "launcher/Module_Main.h"
#include "support/split_arguments.h"
#include "text/case_insensitive.h"

namespace {

// Stands for the URL while the template is split on its own; fuzz input holding it is skipped.
constexpr char16_t kMarker[] = u"\uE000\uE001";

std::u16string ReplaceMarker(std::u16string text, const std::u16string& url) {
  const std::u16string marker(kMarker);
  for (std::size_t at = text.find(marker); at != std::u16string::npos;
       at = text.find(marker, at + url.size())) {
    text.replace(at, marker.size(), url);
  }
  return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace linkvane;
  const std::u16string input = fuzzing::AsUtf16(data, size);
  const std::size_t split = input.find(u'\n');
  if (split == std::u16string::npos) return 0;
  std::u16string command_template = input.substr(0, split);
  const std::u16string raw_url = input.substr(split + 1);
  // A command line cannot hold NUL, and the marker must not occur naturally.
  if (command_template.find(u'\0') != std::u16string::npos) return 0;
  if (input.find(kMarker) != std::u16string::npos) return 0;

  testing::FakePlatform platform;
  platform.environment = {
      {u"Q", u"a\" --evil"},
      {u"BS", u"d\\"},
      {u"DASH", u"-x"},
      {u"PCT", u"%Q%"},
      {u"SP", u"a b\t"},
      {u"S", u"%s"},
      {u"NUL", std::u16string(u"\0-x", 2)},
  };
  const Module_Main::LaunchCommand launch =
      Module_Main::BuildLaunchCommand(platform, command_template, raw_url);
  const std::u16string url = Module_Main::EncodeUnsafeUrlCharacters(platform, launch.url);
  const auto expected = testing::SplitArguments(
      Module_Main::BuildLaunchCommand(platform, command_template, kMarker).command);
  // A URL in place of the program's own name is not a browser command; nothing to keep safe.
  if (expected[0].find(kMarker) != std::u16string::npos) return 0;
  const auto actual = testing::SplitArguments(launch.command);

  // An empty URL (the user chose to go on without one) brings nothing of its own onto the
  // command line: what changes then is the template's own quotes meeting (`"%s"` becomes `""`),
  // which is the template's affair, not the shortcut file's.
  if (url.empty()) return 0;
  if (actual.size() != expected.size()) fuzzing::Violated("the URL changed the argument count");
  for (std::size_t i = 0; i < expected.size(); ++i) {
    if (actual[i] != ReplaceMarker(expected[i], url)) {
      fuzzing::Violated("an argument is not the template's with the URL in place");
    }
  }
  for (char16_t c : url) {
    if (c == u' ' || c == u'\t' || c == u'"' || c < 0x20 || c == 0x7F) {
      fuzzing::Violated("an unsafe character survived");
    }
  }
  if (!url.empty() && (url[0] == u'-' || url[0] == u'/')) fuzzing::Violated("URL starts a switch");
  return 0;
}
