#pragma once

// Helpers shared by the fuzz targets: turning raw fuzz bytes into the program's inputs.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

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

}  // namespace linkvane::fuzzing
