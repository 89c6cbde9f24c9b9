#pragma once

#include <string>
#include <string_view>

namespace linkvane {

// The arguments part of a whole command line: what follows the program's name (quoted or
// not) and the spaces and tabs after it, quotes and inner blanks kept.
std::u16string CommandLineAfterProgramName(std::u16string_view command_line);

// The program's name that a command line starts with, as Windows splits it: up to the closing
// quote when it starts with one, else up to the first space or tab.
std::u16string_view ProgramNameOf(std::u16string_view command_line);

}  // namespace linkvane
