#pragma once

// Splits a command line into arguments the way CommandLineToArgvW (and the C runtime since 2008)
// does, so that tests can see what a browser would receive. The program's name follows its own
// rule: a quoted name ends at the next quote, an unquoted one at the first blank, and
// backslashes there are never special. Doubled quotes inside quotes follow the C runtime's
// rule (one literal quote); Windows' shell has other rules for them, which matter only for a
// template's own quotes, never for a URL (that holds no quotes once it is made safe).

#include <string>
#include <string_view>
#include <vector>

namespace linkvane::testing {

inline std::vector<std::u16string> SplitWindowsCommandLine(std::u16string_view line) {
  std::vector<std::u16string> arguments;
  std::size_t i = 0;
  std::u16string name;
  if (i < line.size() && line[i] == u'"') {
    for (++i; i < line.size() && line[i] != u'"'; ++i) name.push_back(line[i]);
    if (i < line.size()) ++i;
  } else {
    for (; i < line.size() && line[i] != u' ' && line[i] != u'\t'; ++i) name.push_back(line[i]);
  }
  arguments.push_back(name);

  for (;;) {
    while (i < line.size() && (line[i] == u' ' || line[i] == u'\t')) ++i;
    if (i >= line.size()) break;
    std::u16string argument;
    bool quoted = false;
    while (i < line.size() && (quoted || (line[i] != u' ' && line[i] != u'\t'))) {
      if (line[i] == u'\\') {
        std::size_t run = 0;
        while (i < line.size() && line[i] == u'\\') ++run, ++i;
        if (i < line.size() && line[i] == u'"') {
          argument.append(run / 2, u'\\');
          if (run % 2 == 1) {
            argument.push_back(u'"');
            ++i;
          }
        } else {
          argument.append(run, u'\\');
        }
      } else if (line[i] == u'"') {
        if (quoted && i + 1 < line.size() && line[i + 1] == u'"') {
          argument.push_back(u'"');  // "" inside quotes is one literal quote
          i += 2;
        } else {
          quoted = !quoted;
          ++i;
        }
      } else {
        argument.push_back(line[i++]);
      }
    }
    arguments.push_back(argument);
  }
  return arguments;
}

}  // namespace linkvane::testing
