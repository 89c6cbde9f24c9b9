// The user's language: which one Windows shows, the executable's string tables, and the layout
// and error texts that go with a language.

#include "platform/win32/system_library.h"
#include "platform/win32/win32_platform.h"

namespace linkvane::win32 {

namespace {

constexpr wchar_t kUser32[] = L"user32.dll";

bool right_to_left = false;
bool layout_set = false;

}  // namespace

// Used by LastError: the LANGID of FormatMessageW's texts, 0 for the user's own.
DWORD error_language = 0;

std::uint16_t Win32Platform::UserUiLanguage() { return ::GetUserDefaultUILanguage(); }

std::uint16_t Win32Platform::LanguageOfTag(const std::u16string& tag) {
  return LANGIDFROMLCID(::LocaleNameToLCID(Wide(tag), 0));
}

std::optional<std::u16string> Win32Platform::LoadText(std::uint16_t language, std::uint32_t id) {
  // LoadStringW would pick the language itself, by rules that differ between Windows versions
  // and Wine: the string table's block is found under exactly the language chosen.
  HRSRC found = ::FindResourceExW(nullptr, RT_STRING, MAKEINTRESOURCEW(id / 16 + 1), language);
  if (found == nullptr) return std::nullopt;
  HGLOBAL loaded = ::LoadResource(nullptr, found);
  const auto* block = static_cast<const wchar_t*>(::LockResource(loaded));
  if (block == nullptr) return std::nullopt;
  // A block holds 16 counted strings, each its length and then its characters.
  const wchar_t* end = block + ::SizeofResource(nullptr, found) / sizeof(wchar_t);
  for (std::uint32_t skipped = 0; skipped < id % 16 && block < end; ++skipped) {
    block += 1 + static_cast<std::size_t>(*block);
  }
  if (block >= end || *block == 0 || static_cast<std::size_t>(end - block - 1) < *block) {
    return std::nullopt;
  }
  return FromWide(block + 1, *block);
}

void Win32Platform::UseRightToLeft() { right_to_left = true; }

void Win32Platform::UseErrorLanguage(std::uint16_t language) { error_language = language; }

UINT PrepareWindowLayout() {
  if (!right_to_left) return 0;
  if (!layout_set) {
    // user32 is loaded by the window about to be made anyway.
    auto* set_layout = SystemFunctionAs<BOOL WINAPI(DWORD)>(kUser32, "SetProcessDefaultLayout");
    if (set_layout != nullptr) set_layout(LAYOUT_RTL);
    layout_set = true;
  }
  return MB_RTLREADING | MB_RIGHT;
}

}  // namespace linkvane::win32
