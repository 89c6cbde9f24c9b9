#include "platform/command_line.h"

#include "text/case_insensitive.h"

namespace linkvane {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// Where the program's name ends, its closing quote included.
std::size_t ProgramNameEnd(std::u16string_view command_line) {
  if (!command_line.empty() && command_line[0] == u'"') {
    // A quoted name ends at the next quote; Windows allows no escapes in the program's name.
    const std::size_t close = command_line.find(u'"', 1);
    return close == std::u16string_view::npos ? command_line.size() : close + 1;
  }
  std::size_t at = 0;
  while (at < command_line.size() && !IsBlank(command_line[at])) ++at;
  return at;
}

// Where an unquoted name that spells own_path ends (shortest first), or kNotFound.
std::size_t OwnNameEnd(std::u16string_view command_line, std::u16string_view own_path) {
  if (own_path.empty()) return kNotFound;
  std::u16string_view without_exe = own_path;
  if (EndsWithNoCase(own_path, u".exe")) without_exe.remove_suffix(4);
  for (std::size_t at = 1; at <= command_line.size(); ++at) {
    if (at < command_line.size() && !IsBlank(command_line[at])) continue;
    const std::u16string_view prefix = command_line.substr(0, at);
    if (EqualsNoCase(prefix, own_path) || EqualsNoCase(prefix, without_exe)) return at;
  }
  return kNotFound;
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

std::u16string CommandLineAfterProgramName(std::u16string_view command_line,
                                           std::u16string_view own_path) {
  std::size_t at = kNotFound;
  if (!command_line.empty() && command_line[0] != u'"') at = OwnNameEnd(command_line, own_path);
  if (at == kNotFound) at = ProgramNameEnd(command_line);
  while (at < command_line.size() && IsBlank(command_line[at])) ++at;
  return std::u16string(command_line.substr(at));
}

std::vector<std::u16string> SplitArguments(std::u16string_view arguments) {
  std::vector<std::u16string> split;
  const std::size_t size = arguments.size();
  std::size_t at = 0;
  for (;;) {
    while (at < size && IsBlank(arguments[at])) ++at;
    if (at == size) return split;
    std::u16string& argument = split.emplace_back();
    bool quoted = false;
    while (at < size && (quoted || !IsBlank(arguments[at]))) {
      std::size_t backslashes = 0;
      for (; at < size && arguments[at] == u'\\'; ++at) ++backslashes;
      if (at == size || arguments[at] != u'"') {
        argument.append(backslashes, u'\\');
        if (backslashes == 0) argument.push_back(arguments[at++]);
        continue;
      }
      argument.append(backslashes / 2, u'\\');
      if (backslashes % 2 != 0 || (quoted && at + 1 < size && arguments[at + 1] == u'"')) {
        argument.push_back(u'"');
        at += backslashes % 2 != 0 ? 1 : 2;
      } else {
        quoted = !quoted;
        ++at;
      }
    }
  }
}

}  // namespace linkvane
