// linkvane_scan: runs one of the two URL readers on a real file, the way linkvane.exe chooses
// it by the file's name, and reports the URL's length, the time taken and the program's peak
// memory. bench/run compares it with grep on the same file.
//
//   linkvane_scan FILE

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "file_platform.h"
#include "launcher/Module_Main.h"
#include "text/case_insensitive.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: linkvane_scan FILE\n");
    return 64;
  }
  linkvane::bench::FilePlatform platform;
  const std::u16string path = linkvane::bench::FilePlatform::Widen(argv[1]);
  const auto start = std::chrono::steady_clock::now();
  std::u16string url;
  try {
    url = linkvane::EndsWithNoCase(path, u".webloc")
              ? linkvane::Module_Main::GetUrlFromWebloc(platform, path)
              : linkvane::Module_Main::GetUrlFromShortcut(platform, path);
  } catch (const linkvane::PlatformError& error) {
    std::fprintf(stderr, "linkvane_scan: error %d\n", error.Number());
    return 1;
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  // The high-water mark of this program's own memory: unlike the resource usage a parent sees,
  // it does not count the memory of the process that was replaced by this program.
  long peak_kib = -1;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) peak_kib = std::stol(line.substr(6));
  }
  std::string shown;
  for (char16_t c : url.substr(0, 60)) shown += c < 0x80 ? static_cast<char>(c) : '?';
  std::printf("url_length=%zu seconds=%.4f peak_kib=%ld url=%s\n", url.size(), elapsed.count(),
              peak_kib, shown.c_str());
  return 0;
}
