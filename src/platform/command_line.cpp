#include "platform/command_line.h"

namespace linkvane {

std::u16string CommandLineAfterProgramName(std::u16string_view command_line) {
  std::size_t at = 0;
  if (!command_line.empty() && command_line[0] == u'"') {
    // A quoted name ends at the next quote; Windows allows no escapes in the program's name.
    const std::size_t close = command_line.find(u'"', 1);
    at = close == std::u16string_view::npos ? command_line.size() : close + 1;
  } else {
    while (at < command_line.size() && command_line[at] != u' ' && command_line[at] != u'\t') ++at;
  }
  while (at < command_line.size() && (command_line[at] == u' ' || command_line[at] == u'\t')) ++at;
  return std::u16string(command_line.substr(at));
}

}  // namespace linkvane
