// The line-oriented reader on any file content.

#include <string>

#include "fake/fake_platform.h"
#include "fuzz_input.h"
#include "launcher/Module_Main.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::u16string double_byte;
  const std::u16string url = linkvane::fuzzing::ReadEveryWay(
      linkvane::Module_Main::GetUrlFromShortcut, u"C:\\in.url",
      std::string(reinterpret_cast<const char*>(data), size), double_byte);
  for (const std::u16string& read : {url, double_byte}) {
    for (char16_t c : linkvane::Module_Main::CleanUrl(read)) {
      if (c < 0x20 || c == 0x7F)
        linkvane::fuzzing::Violated("a control character survived cleaning");
    }
  }
  return 0;
}
