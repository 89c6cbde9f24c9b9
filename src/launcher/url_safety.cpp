// A shortcut file often comes from the internet, and its URL ends up on a command line: these
// steps keep the URL a single argument that cannot carry switches for the browser.

#include "launcher/Module_Main.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

void AppendPercentEncoded(char16_t c, std::u16string& out) {
  constexpr char16_t kHex[] = u"0123456789ABCDEF";
  out.push_back(u'%');
  out.push_back(kHex[(c >> 4) & 0xF]);
  out.push_back(kHex[c & 0xF]);
}

bool IsControl(char16_t c) { return c < 0x20 || c == 0x7F; }

// Characters that a program reading its command line in an ANSI code page sees, by best-fit
// conversion, as a blank, a quote, a dash or a slash: every space separator but the ASCII
// space, the full-width forms of ASCII, the yen and won signs, dashes and the minus sign. The
// system's own code page adds its best fits; these stay for the browsers that read Unicode but
// fold full-width forms in host names.
bool IsLookAlike(char16_t c) {
  return c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F ||
         c == 0x3000 || (c >= 0xFF01 && c <= 0xFF5E) || c == 0x00A5 || c == 0x20A9 ||
         (c >= 0x2010 && c <= 0x2015) || c == 0x2212;
}

// The character's UTF-8 bytes, each percent-encoded, as browsers read them back.
void AppendUtf8PercentEncoded(char16_t c, std::u16string& out) {
  if (c < 0x800) {
    AppendPercentEncoded(char16_t(0xC0 | (c >> 6)), out);
  } else {
    AppendPercentEncoded(char16_t(0xE0 | (c >> 12)), out);
    AppendPercentEncoded(char16_t(0x80 | ((c >> 6) & 0x3F)), out);
  }
  AppendPercentEncoded(char16_t(0x80 | (c & 0x3F)), out);
}

// True when the template text at position goes on with a double quote, perhaps after
// backslashes of its own.
bool QuoteFollows(std::u16string_view text, std::size_t position) {
  while (position < text.size() && text[position] == u'\\') ++position;
  return position < text.size() && text[position] == u'"';
}

// Under Windows' rules for splitting a command line, backslashes are literal unless a double
// quote follows them, when each pair stands for one backslash. A URL that ends in backslashes
// and is followed by a quote would turn that quote into a literal one and run on into the rest
// of the command line: doubling the run of backslashes that ends the text so far keeps them
// literal and the quote what the template meant it to be. The run may reach back past the URL
// (a URL of backslashes only, or an empty one after the template's own backslashes).
void DoubleBackslashesBeforeQuote(std::u16string& command) {
  std::size_t run = 0;
  while (run < command.size() && command[command.size() - 1 - run] == u'\\') ++run;
  command.append(run, u'\\');
}

}  // namespace

std::u16string CleanUrl(std::u16string_view url) {
  // URL parsers drop tabs and line breaks anyway; removing them first keeps an indented value
  // written across lines from counting as a URL with spaces. Every other control character is
  // encoded before the environment expansion sees the URL: the expansion ends at a NUL.
  std::u16string kept;
  kept.reserve(url.size());
  for (char16_t c : url) {
    if (c == u'\t' || c == u'\r' || c == u'\n') continue;
    if (IsControl(c)) {
      AppendPercentEncoded(c, kept);
    } else {
      kept.push_back(c);
    }
  }
  return kept;
}

std::u16string EncodeUnsafeUrlCharacters(Platform& platform, std::u16string_view url) {
  std::u16string encoded;
  encoded.reserve(url.size());
  for (std::size_t i = 0; i < url.size(); ++i) {
    const char16_t c = url[i];
    const bool switch_start = i == 0 && (c == u'-' || c == u'/');
    if (c == u' ' || c == u'"' || IsControl(c) || switch_start) {
      AppendPercentEncoded(c, encoded);
    } else if (IsLookAlike(c) || (c >= 0x80 && platform.AnsiBestFitAscii(c) != 0)) {
      AppendUtf8PercentEncoded(c, encoded);
    } else {
      encoded.push_back(c);
    }
  }
  return encoded;
}

std::vector<std::u16string> SplitAtPlaceholders(std::u16string_view command_template) {
  constexpr std::u16string_view kPlaceholder = u"%s";
  std::vector<std::u16string> stretches;
  std::size_t from = 0;
  for (std::size_t at = FindNoCase(command_template, kPlaceholder); at != kNotFound;
       at = FindNoCase(command_template, kPlaceholder, from)) {
    stretches.emplace_back(command_template.substr(from, at - from));
    from = at + kPlaceholder.size();
  }
  stretches.emplace_back(command_template.substr(from));
  return stretches;
}

std::u16string JoinWithUrl(const std::vector<std::u16string>& stretches, std::u16string_view url) {
  std::u16string result = stretches.front();
  for (std::size_t i = 1; i < stretches.size(); ++i) {
    result.append(url);
    if (QuoteFollows(stretches[i], 0)) DoubleBackslashesBeforeQuote(result);
    result.append(stretches[i]);
  }
  return result;
}

std::u16string SubstituteUrl(std::u16string_view command_template, std::u16string_view url) {
  return JoinWithUrl(SplitAtPlaceholders(command_template), url);
}

}  // namespace linkvane::Module_Main
