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
  if (clean.size() > url.size()) linkvane::fuzzing::Violated("cleaning made the URL longer");
  return 0;
}
