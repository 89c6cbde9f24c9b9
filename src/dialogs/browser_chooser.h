#pragma once

// linkvane.exe /choose: the user picks a browser from those Windows lists, or any program, and
// the choice becomes the first line of the user's own browser.dat, which every copy of
// Linkvane reads first for that user.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "dialogs/registered_browsers.h"
#include "platform/platform.h"

namespace linkvane::chooser {

// Why a launch would refuse a command template, as the message that says so; "" when it would
// start the browser. The launcher's own judgement, handed in.
using TemplateCheck = std::u16string (*)(Platform& platform,
                                         const std::u16string& command_template);

// Shows the chooser and keeps what the user accepts at OK; check judges a command before it is
// kept. Returns the exit status: 0 when the choice was kept, 1 when nothing was written.
int ChooseBrowser(Platform& platform, TemplateCheck check);

// The chooser's contents: first "No choice of my own", naming what is then used, then each
// browser; the entry whose command is current (the first line of the user's browser.dat) is
// selected, and a current command that no entry has stands in the command box alone.
ChooserModel BuildChooserModel(Platform& platform, const std::vector<RegisteredBrowser>& browsers,
                               const std::u16string& current);

// What the user picked to open one address: the browser's command, and whether its site keeps it.
struct OneTimeChoice {
  std::u16string command;
  bool always = false;
};

// Shows the chooser for opening url once, in a browser that check accepts; the saved choice is
// not touched. rule_host is the host the check box names ("" hides it), rule_template the
// command of the site rule that covers url ("" when none), selected and ticked at the start.
// Nothing when the user cancels.
std::optional<OneTimeChoice> ChooseOnce(Platform& platform, TemplateCheck check,
                                        std::u16string_view url, std::u16string_view rule_host,
                                        const std::u16string& rule_template);

}  // namespace linkvane::chooser
