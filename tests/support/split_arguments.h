#pragma once

// Splits a command line into arguments the way a started Windows program sees them
// (CommandLineToArgvW's rules), so tests can tell how many arguments a browser would get.

#include <string>
#include <string_view>
#include <vector>

namespace linkvane::testing {

// The program's name first, then its arguments.
//  - The name ends at the next double quote when it starts with one, else at a space or tab;
//    it knows no escapes.
//  - Later arguments are separated by spaces and tabs outside quotes.
//  - 2n backslashes before a double quote are n backslashes, and the quote toggles quoting;
//    2n+1 backslashes before one are n backslashes and a literal quote; backslashes before
//    anything else stand for themselves.
//  - Inside quotes, a quote that closes them and is followed by another quote yields that
//    quote literally; a third quote in a row starts a new run.
inline std::vector<std::u16string> SplitArguments(std::u16string_view line) {
  std::vector<std::u16string> arguments;
  std::size_t i = 0;
  const std::size_t n = line.size();
  std::u16string name;
  if (n > 0 && line[0] == u'"') {
    for (i = 1; i < n && line[i] != u'"'; ++i) name.push_back(line[i]);
    if (i < n) ++i;
  } else {
    for (; i < n && line[i] != u' ' && line[i] != u'\t'; ++i) name.push_back(line[i]);
  }
  arguments.push_back(name);
  while (i < n && (line[i] == u' ' || line[i] == u'\t')) ++i;

  std::u16string current;
  bool in_argument = false;
  int quotes = 0;  // 1 while inside quotes
  std::size_t backslashes = 0;
  while (i < n) {
    const char16_t c = line[i];
    if ((c == u' ' || c == u'\t') && quotes == 0) {
      if (in_argument) arguments.push_back(current);
      current.clear();
      in_argument = false;
      backslashes = 0;
      ++i;
      continue;
    }
    in_argument = true;
    if (c == u'\\') {
      current.push_back(c);
      ++backslashes;
      ++i;
    } else if (c == u'"') {
      if (backslashes % 2 == 0) {
        current.resize(current.size() - backslashes / 2);
        ++quotes;
      } else {
        current.resize(current.size() - backslashes / 2 - 1);
        current.push_back(u'"');
      }
      backslashes = 0;
      ++i;
      for (; i < n && line[i] == u'"'; ++i) {
        if (++quotes == 3) {
          current.push_back(u'"');
          quotes = 0;
        }
      }
      if (quotes == 2) quotes = 0;
    } else {
      current.push_back(c);
      backslashes = 0;
      ++i;
    }
  }
  if (in_argument) arguments.push_back(current);
  return arguments;
}

}  // namespace linkvane::testing
