#pragma once

// The texts and styles of Linkvane's message boxes, word for word.

#include <cstdint>
#include <string>
#include <string_view>

#include "product/title.h"

namespace linkvane::messages {

using product::kTitle;

inline constexpr std::uint32_t kErrorOk = 0x10;         // MB_ICONERROR
inline constexpr std::uint32_t kInformationOk = 0x40;   // MB_ICONINFORMATION
inline constexpr std::uint32_t kQuestionYesNo = 0x124;  // MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2
inline constexpr std::uint32_t kErrorYesNo = 0x114;     // MB_YESNO|MB_ICONERROR|MB_DEFBUTTON2
inline constexpr std::uint32_t kWarningYesNo = 0x134;   // MB_YESNO|MB_ICONWARNING|MB_DEFBUTTON2

// M1: the shortcut file was not found.
std::u16string FileNotFound(std::u16string_view argument);
// M2: neither browser.dat nor the registry gives a browser command.
std::u16string NoBrowserCommand();
// M3: the shortcut holds no URL.
std::u16string NoUrlFound();
// M4: the URL holds spaces.
std::u16string UrlHasSpaces();
// M7: the environment put values into the URL (shown cut when long).
std::u16string EnvironmentInUrl(std::u16string_view url);
// M6: the URL is no web page, mail address or local file (shown cut when long).
std::u16string NotAWebPage(std::u16string_view url);
// M5: the command (shown cut when long) could not be started.
std::u16string CannotExecute(std::u16string_view command, std::int32_t number,
                             std::u16string_view description);
// Why a file cannot start as a browser (a DLL, or not a Windows program at all), with the fix.
std::u16string NotAProgram(bool dll);
// A browser command too short to count as one, refused when the user chooses it.
std::u16string TemplateTooShort();
// "Error code = <number> (<description>)." of an error.
std::u16string ErrorCode(std::int32_t number, std::u16string_view description);
// The report of an error that nothing else handled.
std::u16string UnexpectedError(std::int32_t number, std::u16string_view description);

}  // namespace linkvane::messages
