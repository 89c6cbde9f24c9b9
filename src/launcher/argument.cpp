#include <algorithm>

#include "launcher/Module_Main.h"
#include "text/spaces.h"

namespace linkvane::Module_Main {

void NormalizeArgument(Platform& platform, std::u16string& argument) {
  StripQuotes(argument);
  // The URL test and the conversion work on the wide text, so that a file whose name lies
  // outside the ANSI code page is still found. A path of any length is kept whole (a deep
  // synchronised folder easily passes 260 characters); a file URL's path is never longer than
  // the URL. A plain path, what the shell passes, is told apart without the shell's test, whose
  // DLLs would cost every run their loading.
  if (MayBeUrl(argument) && platform.PathIsUrl(argument)) {
    std::u16string buffer(std::max(kMaxPath, argument.size() + 1), u' ');
    auto length = static_cast<std::uint32_t>(buffer.size());
    platform.CreatePathFromUrl(argument, buffer, length);
    argument = buffer.substr(0, std::min<std::size_t>(length, buffer.size()));
  }
}

bool MayBeUrl(std::u16string_view text) {
  const std::size_t colon = text.find(u':');
  if (colon == std::u16string_view::npos || colon < 2) return false;
  // A unit beyond ASCII is left to the shell, which may count it a letter.
  return std::all_of(
      text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') ||
               c == u'+' || c == u'-' || c == u'.' || c >= 0x80;
      });
}

void StripQuotes(std::u16string& text) {
  ContinueOnError([&] { text = TrimSpaces(text); });
  ContinueOnError([&] {
    if (!text.empty() && text.front() == u'"') text.erase(0, 1);
  });
  ContinueOnError([&] {
    if (!text.empty() && text.back() == u'"') text.pop_back();
  });
}

bool FileExists(Platform& platform, const std::u16string& path) {
  return platform.FileExists(path);
}

}  // namespace linkvane::Module_Main
