// The binary property-list reader on any bytes: it never reads outside them (the sanitizers
// see to that) and a value it returns lies within them.

#include "fuzz_input.h"
#include "launcher/binary_plist.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::u16string url = linkvane::Module_Main::UrlFromBinaryPlist(
      std::string_view(reinterpret_cast<const char*>(data), size));
  if (url.size() > size) linkvane::fuzzing::Violated("URL longer than the list");
  return 0;
}
