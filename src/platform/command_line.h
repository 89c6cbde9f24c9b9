#pragma once

#include <string>
#include <string_view>
#include <vector>

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

// The arguments of a command line's arguments part, split as Windows' C runtime splits them:
// at blanks outside double quotes; 2n backslashes before a quote are n, 2n+1 are n and a
// literal quote; two quotes inside quotes are one literal quote.
std::vector<std::u16string> SplitArguments(std::u16string_view arguments);

}  // namespace linkvane
