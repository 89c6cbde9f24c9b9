#include "launcher/requests.h"

#include <string>
#include <vector>

#include "dialogs/browser_chooser.h"
#include "language/language.h"
#include "language/text_ids.h"
#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "launcher/registration.h"
#include "platform/command_line.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

using language::Say;
using language::Text;

namespace {

// /choose: the browser that opens shortcuts for this user, from a list; a command is judged
// as a launch would judge it before it is kept.
int ChooseBrowser(Platform& platform, const RequestOptions&) {
  return chooser::ChooseBrowser(platform, TemplateRefusal);
}

// /openwith "shortcut": the shortcut opened once in a browser picked from a list.
int OpenWithRequest(Platform& platform, const RequestOptions& options) {
  return OpenWith(platform, options.operand);
}

// Every request the program knows, by its switch. A switch's letter case does not matter.
constexpr Request kRequests[] = {
    {u"/register", RegisterShortcutTypes, IDS_USAGE_REGISTER, true},
    {u"/unregister", UnregisterShortcutTypes, IDS_USAGE_UNREGISTER, true},
    {u"/choose", ChooseBrowser, IDS_USAGE_CHOOSE, false},
    {u"/openwith", OpenWithRequest, IDS_USAGE_OPENWITH, false, true},
};

// The request whose switch argument is; nothing when it is none.
const Request* RowOf(const std::u16string& argument) {
  for (const Request& request : kRequests) {
    if (EqualsNoCase(argument, request.name)) return &request;
  }
  return nullptr;
}

constexpr std::u16string_view kAllUsers = u"/allusers";
constexpr std::u16string_view kQuiet = u"/quiet";

// A switch is "/" and a word; "/Users/me/a.url" is a path from the drive's root.
bool IsSwitch(const std::u16string& argument) {
  return argument.size() > 1 && argument[0] == u'/' &&
         argument.find_first_of(u"/\\.:", 1) == std::u16string::npos;
}

// The usage box: what went wrong (if anything), then every form of the command line.
int ShowUsage(Platform& platform, const RequestOptions& options, const std::u16string& problem) {
  if (options.quiet) return kExitNothingStarted;
  std::u16string text = problem.empty() ? problem : problem + u"\r\n\r\n";
  const std::u16string shortcut = u" \"" + Text(IDS_USAGE_SHORTCUT_FILE) + u"\"";
  text.append(u"linkvane.exe").append(shortcut).append(u"\r\n    ").append(Text(IDS_USAGE_OPEN));
  for (const Request& request : kRequests) {
    text.append(u"\r\nlinkvane.exe ").append(request.name);
    if (request.takes_options) text.append(u" [/allusers] [/quiet]");
    if (request.takes_operand) text.append(shortcut);
    text.append(u"\r\n    ").append(Text(request.usage));
  }
  text.append(u"\r\n\r\n").append(Text(IDS_USAGE_ALLUSERS));
  text.append(u"\r\n").append(Text(IDS_USAGE_QUIET));
  platform.ShowMessage(text, problem.empty() ? messages::kInformationOk : messages::kErrorOk,
                       messages::kTitle);
  return kExitNothingStarted;
}

}  // namespace

std::optional<int> RunRequest(Platform& platform) {
  const std::vector<std::u16string> arguments = SplitArguments(platform.CommandLineText());
  if (arguments.empty()) return std::nullopt;
  RequestOptions options;
  // A request that takes a shortcut takes it alone: exactly one operand, no other switch.
  if (const Request* first = RowOf(arguments[0]); first != nullptr && first->takes_operand) {
    if (arguments.size() != 2 || IsSwitch(arguments[1])) {
      return ShowUsage(platform, options, Say(IDS_TAKES_ONE_SHORTCUT, {first->name}));
    }
    options.operand = arguments[1];
    return first->action(platform, options);
  }
  for (const std::u16string& argument : arguments) {
    if (!IsSwitch(argument)) return std::nullopt;
  }

  const Request* chosen = nullptr;
  int actions = 0;
  bool help = false;
  std::u16string unknown;
  for (const std::u16string& argument : arguments) {
    const Request* row = RowOf(argument);
    if (row != nullptr) {
      chosen = row;
      ++actions;
    } else if (EqualsNoCase(argument, kAllUsers)) {
      options.all_users = true;
    } else if (EqualsNoCase(argument, kQuiet)) {
      options.quiet = true;
    } else if (argument == u"/?") {
      help = true;
    } else if (unknown.empty()) {
      unknown = argument;
    }
  }
  if (!help && unknown.empty() && actions == 1 && !chosen->takes_operand &&
      (chosen->takes_options || !(options.all_users || options.quiet))) {
    return chosen->action(platform, options);
  }
  return ShowUsage(platform, options,
                   help              ? std::u16string()
                   : unknown.empty() ? Text(IDS_SWITCHES_CONFLICT)
                                     : Say(IDS_UNKNOWN_SWITCH, {unknown}));
}

}  // namespace linkvane::Module_Main
