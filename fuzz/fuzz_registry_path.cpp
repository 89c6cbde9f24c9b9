// The registry reader on any path text, against a small registry: it returns a value or raises
// the invalid-argument error, and never leaves a key open.

#include "fake/fake_platform.h"
#include "fuzz_input.h"
#include "system/systemfn.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace linkvane;
  if (size == 0) return 0;
  testing::FakePlatform platform;
  platform.SetRegistryText(kHkeyCurrentUser, u"Software\\Test", u"", u"default");
  platform.SetRegistryText(kHkeyCurrentUser, u"Software\\Test", u"multi",
                           std::u16string(u"a\0b\0", 4), kRegMultiSz);
  platform.SetRegistryText(kHkeyClassesRoot, u"http\\shell\\open\\command", u"", u"%PATH% %1",
                           kRegExpandSz);
  platform.SetRegistryValue(kHkeyCurrentUser, u"Software\\Test", u"odd", kRegSz, "abc");
  platform.SetRegistryValue(kHkeyCurrentUser, u"Software\\Test", u"dword", kRegDword, "\x01\x02");
  platform.environment[u"PATH"] = u"C:\\Windows";
  const bool interpret = (data[0] & 1) != 0;
  try {
    systemfn::ReadRegistryValue(platform, fuzzing::AsUtf16(data + 1, size - 1), interpret);
  } catch (const PlatformError& error) {
    if (error.Number() != kErrorInvalidArgument) fuzzing::Violated("unexpected error number");
  }
  if (!platform.open_keys.empty()) fuzzing::Violated("a registry key was left open");
  return 0;
}
