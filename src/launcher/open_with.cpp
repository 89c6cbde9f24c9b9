// linkvane.exe /openwith: "just this once, in another browser", and "this site always in that
// one". The shortcut is read exactly as a plain open reads it, and the browser picked is judged
// as every template is; the saved choice of browser is never touched.

#include "dialogs/browser_chooser.h"
#include "dialogs/user_template_file.h"
#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "launcher/site_rules.h"
#include "system/systemfn.h"
#include "text/spaces.h"

namespace linkvane::Module_Main {

int OpenWith(Platform& platform, std::u16string argument) {
  NormalizeArgument(platform, argument);
  if (!FileExists(platform, argument)) {
    platform.ShowMessage(messages::FileNotFound(argument), messages::kErrorOk, messages::kTitle);
    return kExitNothingStarted;
  }
  const std::u16string url_as_read = ReadShortcutUrl(platform, argument);
  const std::u16string address = TrimSpaces(CleanUrl(url_as_read));

  // The rule that covers the address's host, if any, is the one the check box shows; else a
  // new one would be kept for the host without its "www.".
  std::u16string rules_path;
  ContinueOnError([&] {
    const std::u16string user_file = systemfn::UserTemplatePath(platform);
    if (!user_file.empty()) rules_path = SiteRulesPath(user_file);
  });
  const std::u16string rules_text =
      rules_path.empty() ? std::u16string() : ReadSiteRulesText(platform, rules_path);
  const std::optional<std::u16string> host =
      rules_path.empty() ? std::nullopt : UrlHost(platform, address);
  std::optional<SiteRule> rule;
  if (host) rule = MatchSiteRule(ParseSiteRules(rules_text), *host);
  const std::u16string rule_host = rule ? rule->host : host ? RuleHostOf(*host) : u"";

  const std::optional<chooser::OneTimeChoice> choice =
      chooser::ChooseOnce(platform, TemplateRefusal, address, rule_host,
                          rule ? rule->command_template : std::u16string());
  if (!choice) return kExitNothingStarted;

  if (!rule_host.empty() && (choice->always || rule)) {
    const std::u16string updated = WithSiteRule(
        rules_text, rule_host,
        choice->always ? std::optional<std::u16string>(choice->command) : std::nullopt);
    // A rule that cannot be kept is told, and the address still opens as the user asked.
    const std::u16string failure =
        updated == rules_text ? updated : chooser::SaveUtf8File(platform, rules_path, updated);
    if (!failure.empty()) platform.ShowMessage(failure, messages::kErrorOk, messages::kTitle);
  }
  return Launch(platform, choice->command, url_as_read, std::u16string());
}

}  // namespace linkvane::Module_Main
