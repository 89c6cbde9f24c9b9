// Which host a URL opens is decided as browsers decide it, not as it looks: a rule must never
// send "https://evil.example\@bank.example/" to the bank's browser.

#include "launcher/site_rules.h"

#include "platform/text_stream.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// A character no host may hold: controls, blanks and the delimiters browsers refuse there.
bool IsForbiddenInHost(char16_t c) {
  return c <= 0x20 || c == 0x7F ||
         std::u16string_view(u"<>^|[]%\"").find(c) != std::u16string_view::npos;
}

// True when label is a number as browsers read IPv4 parts: decimal, or hexadecimal after "0x".
bool IsNumber(std::u16string_view label) {
  if (StartsWithNoCase(label, u"0x")) {
    label.remove_prefix(2);
    return label.find_first_not_of(u"0123456789abcdefABCDEF") == std::u16string_view::npos;
  }
  return !label.empty() && label.find_first_not_of(u"0123456789") == std::u16string_view::npos;
}

// Calls line for each line of text, without its end (CR LF, LF or CR).
template <typename Line>
void ForEachLine(std::u16string_view text, Line line) {
  while (!text.empty()) {
    const std::size_t end = text.find_first_of(u"\r\n");
    if (end == std::u16string_view::npos) {
      line(text);
      return;
    }
    line(text.substr(0, end));
    const bool crlf = text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n';
    text.remove_prefix(end + (crlf ? 2 : 1));
  }
}

// The rule a line of sites.txt holds; nothing for comments and unusable lines.
std::optional<SiteRule> RuleOfLine(std::u16string_view line) {
  while (!line.empty() && IsBlank(line.front())) line.remove_prefix(1);
  if (line.empty() || line.front() == u'#') return std::nullopt;
  std::size_t end = 0;
  while (end < line.size() && !IsBlank(line[end])) ++end;
  SiteRule rule{ToLowerAscii(line.substr(0, end)), std::u16string(line.substr(end))};
  while (!rule.command_template.empty() && IsBlank(rule.command_template.front())) {
    rule.command_template.erase(0, 1);
  }
  if (!rule.host.empty() && rule.host.back() == u'.') rule.host.pop_back();
  // Rules hold ASCII hosts: a Unicode one could only ever be a look-alike's.
  for (const char16_t c : rule.host) {
    if (c >= 0x80 || IsForbiddenInHost(c)) return std::nullopt;
  }
  if (rule.host.empty() || FindNoCase(rule.command_template, u"%s") == kNotFound) {
    return std::nullopt;
  }
  return rule;
}

}  // namespace

std::optional<std::u16string> UrlHost(Platform& platform, std::u16string_view url) {
  std::size_t at = 0;
  if (StartsWithNoCase(url, u"https:")) {
    at = 6;
  } else if (StartsWithNoCase(url, u"http:")) {
    at = 5;
  } else {
    return std::nullopt;
  }
  // Browsers pass over any slashes and backslashes after a web scheme, and end the authority
  // at a backslash as at a slash.
  while (at < url.size() && (url[at] == u'/' || url[at] == u'\\')) ++at;
  std::u16string_view host = url.substr(at, url.find_first_of(u"/\\?#", at) - at);
  const std::size_t user_info = host.rfind(u'@');
  if (user_info != std::u16string_view::npos) host.remove_prefix(user_info + 1);
  if (!host.empty() && host.front() == u'[') return std::nullopt;  // an IPv6 literal
  host = host.substr(0, host.find(u':'));
  if (!host.empty() && host.back() == u'.') host.remove_suffix(1);
  if (host.empty()) return std::nullopt;
  bool ascii = true;
  for (const char16_t c : host) {
    if (IsForbiddenInHost(c)) return std::nullopt;
    ascii = ascii && c < 0x80;
  }
  std::u16string name(host);
  if (!ascii) {
    std::optional<std::u16string> converted = platform.IdnToAscii(name);
    if (!converted || converted->empty()) return std::nullopt;
    name = std::move(*converted);
    if (name.back() == u'.') name.pop_back();
  }
  name = ToLowerAscii(name);
  const std::size_t last_dot = name.rfind(u'.');
  if (IsNumber(
          std::u16string_view(name).substr(last_dot == std::u16string::npos ? 0 : last_dot + 1))) {
    return std::nullopt;  // an IPv4 address, in any of the forms browsers accept
  }
  return name;
}

std::u16string RuleHostOf(std::u16string_view host) {
  if (StartsWithNoCase(host, u"www.") && host.size() > 4) host.remove_prefix(4);
  return std::u16string(host);
}

std::vector<SiteRule> ParseSiteRules(std::u16string_view text) {
  std::vector<SiteRule> rules;
  ForEachLine(text, [&](std::u16string_view line) {
    if (std::optional<SiteRule> rule = RuleOfLine(line)) rules.push_back(std::move(*rule));
  });
  return rules;
}

std::optional<SiteRule> MatchSiteRule(const std::vector<SiteRule>& rules,
                                      std::u16string_view host) {
  const SiteRule* best = nullptr;
  for (const SiteRule& rule : rules) {
    const std::size_t size = rule.host.size();
    // The host itself or a subdomain: "example.com" covers "a.example.com", not "badexample.com".
    const bool covers =
        host == rule.host || (host.size() > size && host[host.size() - size - 1] == u'.' &&
                              host.substr(host.size() - size) == rule.host);
    if (covers && (best == nullptr || size > best->host.size())) best = &rule;
  }
  if (best == nullptr) return std::nullopt;
  return *best;
}

std::u16string WithSiteRule(std::u16string_view text, std::u16string_view rule_host,
                            const std::optional<std::u16string>& command_template) {
  std::u16string kept;
  ForEachLine(text, [&](std::u16string_view line) {
    const std::optional<SiteRule> rule = RuleOfLine(line);
    if (!rule || rule->host != rule_host) kept.append(line).append(u"\r\n");
  });
  if (kept.empty() && command_template) {
    kept =
        u"# Linkvane's site rules: a host, a blank, the browser command (\"%s\" is the URL).\r\n"
        u"# A rule covers the host and its subdomains.\r\n";
  }
  if (command_template)
    kept.append(rule_host).append(u" ").append(*command_template).append(u"\r\n");
  return kept;
}

std::u16string SiteRulesPath(const std::u16string& user_template_path) {
  return user_template_path.substr(0, user_template_path.rfind(u'\\') + 1) + u"sites.txt";
}

std::u16string ReadSiteRulesText(Platform& platform, const std::u16string& path) {
  std::u16string text;
  // No file, or one that cannot be read, is no rule at all.
  ContinueOnError([&] { text = TextStream::Open(platform, path).ReadAll(); });
  return text;
}

std::u16string SiteTemplate(Platform& platform, const std::u16string& path,
                            std::u16string_view url) {
  const std::vector<SiteRule> rules = ParseSiteRules(ReadSiteRulesText(platform, path));
  if (rules.empty()) return std::u16string();
  const std::optional<std::u16string> host = UrlHost(platform, url);
  if (!host) return std::u16string();
  const std::optional<SiteRule> rule = MatchSiteRule(rules, *host);
  return rule ? rule->command_template : std::u16string();
}

}  // namespace linkvane::Module_Main
