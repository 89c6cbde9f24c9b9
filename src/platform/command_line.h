#pragma once

#include <string>
#include <string_view>

namespace linkvane {

// The arguments part of a whole command line: what follows the program's name (quoted or
// not) and the spaces and tabs after it, quotes and inner blanks kept. An unquoted name may
// hold blanks when it is own_path (the program's own full path, ".exe" optional), as a
// hand-written file association can leave it.
std::u16string CommandLineAfterProgramName(std::u16string_view command_line,
                                           std::u16string_view own_path = {});

// The program's name that a command line starts with, as Windows splits it: up to the closing
// quote when it starts with one, else up to the first space or tab.
std::u16string_view ProgramNameOf(std::u16string_view command_line);

}  // namespace linkvane
