#pragma once

// Helpers shared by the fuzz targets: turning raw fuzz bytes into the program's inputs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

#include "fake/fake_platform.h"

namespace linkvane::fuzzing {

// The bytes as UTF-16LE code units (an odd last byte dropped): any sequence, unpaired
// surrogates included, as a hostile command line or file name may hold.
inline std::u16string AsUtf16(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i + 1 < size; i += 2)
    text.push_back(char16_t(data[i] | (data[i + 1] << 8)));
  return text;
}

// Ends the run loudly: libFuzzer reports the input that led here.
[[noreturn]] inline void Violated(const char* what) {
  std::fprintf(stderr, "oracle violated: %s\n", what);
  std::fflush(stderr);
  __builtin_trap();
}

// A reader's result on content, the file read as bytes (a single-byte code page, the fake's
// own), as text decoded first (the same code page, taken as if it had double-byte characters),
// and with a double-byte code page. The first two must agree.
template <typename Read>
std::u16string ReadEveryWay(Read read, const std::u16string& path, const std::string& content,
                            std::u16string& double_byte) {
  testing::FakePlatform bytes, decoded_first;
  decoded_first.ansi_single_byte = false;
  testing::FakePlatform double_byte_platform;
  double_byte_platform.ansi_double_byte = true;
  bytes.AddFile(path, content);
  decoded_first.AddFile(path, content);
  double_byte_platform.AddFile(path, content);
  const std::u16string url = read(bytes, path);
  if (read(decoded_first, path) != url) Violated("reading bytes differs from decoding first");
  double_byte = read(double_byte_platform, path);
  return url;
}

}  // namespace linkvane::fuzzing
