// Argument preparation on any command-line text.

#include "fake/fake_platform.h"
#include "fuzz_input.h"
#include "launcher/Module_Main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using linkvane::fuzzing::Violated;
  const std::u16string raw = linkvane::fuzzing::AsUtf16(data, size);

  std::u16string stripped = raw;
  linkvane::Module_Main::StripQuotes(stripped);
  if (stripped.size() > raw.size()) Violated("StripQuotes lengthened the text");
  if (!stripped.empty() && stripped.front() == u' ' && !raw.empty() &&
      raw.find_first_not_of(u' ') != std::u16string::npos &&
      raw[raw.find_first_not_of(u' ')] != u'"') {
    Violated("StripQuotes left a leading space outside quotes");
  }

  linkvane::testing::FakePlatform platform;
  std::u16string argument = raw;
  linkvane::Module_Main::NormalizeArgument(platform, argument);
  // A path is kept whole, however long; a file URL's path is never longer than the URL.
  if (argument.size() > stripped.size()) Violated("prepared argument longer than given");
  if (!platform.PathIsUrl(stripped) && argument != stripped) Violated("a plain path changed");
  return 0;
}
