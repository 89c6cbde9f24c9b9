// The line-oriented reader on any file content.

#include <string>

#include "fake/fake_platform.h"
#include "fuzz_input.h"
#include "launcher/Module_Main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  linkvane::testing::FakePlatform platform;
  platform.AddFile(u"C:\\in.url", std::string(reinterpret_cast<const char*>(data), size));
  const std::u16string url = linkvane::Module_Main::GetUrlFromShortcut(platform, u"C:\\in.url");
  const std::u16string clean = linkvane::Module_Main::CleanUrl(url);
  for (char16_t c : clean) {
    if (c < 0x20 || c == 0x7F) linkvane::fuzzing::Violated("a control character survived cleaning");
  }
  return 0;
}
