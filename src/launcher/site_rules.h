#pragma once

// Site rules: hosts that always open in a browser of their own, kept one a line as
// "<host> <template>" in the user's sites.txt. A rule covers its host and every subdomain.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"

namespace linkvane::Module_Main {

struct SiteRule {
  std::u16string host;              // ASCII (punycode), lower case
  std::u16string command_template;  // holds "%s"
};

// The host that a browser opens for url (http or https, cleaned and trimmed), as browsers parse
// it: lower case, without user-info, port or trailing dot, a Unicode host in its punycode form.
// Nothing for other schemes, IP literals, and hosts holding "%" or refused by IDN.
std::optional<std::u16string> UrlHost(Platform& platform, std::u16string_view url);

// The host a new rule for host is kept under: host without a leading "www.".
std::u16string RuleHostOf(std::u16string_view host);

// The usable rules of a sites.txt's text; comments and lines without host or "%s" are skipped.
std::vector<SiteRule> ParseSiteRules(std::u16string_view text);

// The most specific rule that covers host; nothing when none does.
std::optional<SiteRule> MatchSiteRule(const std::vector<SiteRule>& rules, std::u16string_view host);

// text with every rule for rule_host removed and, when command_template is given, a rule that
// sends rule_host there added; every other line is kept as it stands.
std::u16string WithSiteRule(std::u16string_view text, std::u16string_view rule_host,
                            const std::optional<std::u16string>& command_template);

// Where the user's site rules are kept: sites.txt beside the user's own browser.dat.
std::u16string SiteRulesPath(const std::u16string& user_template_path);

// The text of the sites.txt at path; "" when there is none or it cannot be read.
std::u16string ReadSiteRulesText(Platform& platform, const std::u16string& path);

// The template of the rule at path that covers url's host; "" when none does.
std::u16string SiteTemplate(Platform& platform, const std::u16string& path,
                            std::u16string_view url);

}  // namespace linkvane::Module_Main
