#pragma once

#include <string>
#include <string_view>

namespace linkvane {

// The arguments part of a whole command line: what follows the program's name (quoted or
// not) and the spaces and tabs after it, quotes and inner blanks kept.
std::u16string CommandLineAfterProgramName(std::u16string_view command_line);

}  // namespace linkvane
