#include "platform/command_line.h"

namespace linkvane {

namespace {

// Where the program's name ends, its closing quote included.
std::size_t ProgramNameEnd(std::u16string_view command_line) {
  if (!command_line.empty() && command_line[0] == u'"') {
    // A quoted name ends at the next quote; Windows allows no escapes in the program's name.
    const std::size_t close = command_line.find(u'"', 1);
    return close == std::u16string_view::npos ? command_line.size() : close + 1;
  }
  std::size_t at = 0;
  while (at < command_line.size() && command_line[at] != u' ' && command_line[at] != u'\t') ++at;
  return at;
}

}  // namespace

std::u16string_view ProgramNameOf(std::u16string_view command_line) {
  const std::size_t end = ProgramNameEnd(command_line);
  if (end > 0 && command_line[0] == u'"') {
    const std::size_t length = command_line[end - 1] == u'"' && end > 1 ? end - 2 : end - 1;
    return command_line.substr(1, length);
  }
  return command_line.substr(0, end);
}

std::u16string CommandLineAfterProgramName(std::u16string_view command_line) {
  std::size_t at = ProgramNameEnd(command_line);
  while (at < command_line.size() && (command_line[at] == u' ' || command_line[at] == u'\t')) ++at;
  return std::u16string(command_line.substr(at));
}

}  // namespace linkvane
