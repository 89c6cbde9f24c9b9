// The property-list reader on any file content.

#include <string>

#include "fake/fake_platform.h"
#include "fuzz_input.h"
#include "launcher/Module_Main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string double_byte;
  const std::u16string url = linkvane::fuzzing::ReadEveryWay(
      linkvane::Module_Main::GetUrlFromWebloc, u"C:\\in.webloc",
      std::string(reinterpret_cast<const char*>(data), size), double_byte);
  // Decoding entities never lengthens a value, and the value lies inside the file.
  if (url.size() > size || double_byte.size() > size) {
    linkvane::fuzzing::Violated("URL longer than the file");
  }
  return 0;
}
