// The property-list reader on any file content.

#include <string>

#include "fake/fake_platform.h"
#include "fuzz_input.h"
#include "launcher/Module_Main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  linkvane::testing::FakePlatform platform;
  platform.AddFile(u"C:\\in.webloc", std::string(reinterpret_cast<const char*>(data), size));
  const std::u16string url = linkvane::Module_Main::GetUrlFromWebloc(platform, u"C:\\in.webloc");
  // Decoding entities never lengthens a value, and the value lies inside the file.
  if (url.size() > size) linkvane::fuzzing::Violated("URL longer than the file");
  return 0;
}
