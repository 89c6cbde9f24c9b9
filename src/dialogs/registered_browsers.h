#pragma once

// The browsers that Windows lists as installed (its "Start menu internet" clients), each with
// the command template that starts it.

#include <string>
#include <vector>

#include "platform/platform.h"

namespace linkvane::chooser {

struct RegisteredBrowser {
  std::u16string name;              // as the browser names itself
  std::u16string progid;            // its handler of http addresses, if it names one
  std::u16string open_command;      // the registry's open command, "%1" and all
  std::u16string command_template;  // the same as a browser command template
};

// The browsers registered for the current user, then for the computer (both registry views),
// each once (the user's entry wins), sorted by name. A browser without an open command is
// left out: nothing could start it.
std::vector<RegisteredBrowser> ListRegisteredBrowsers(Platform& platform);

}  // namespace linkvane::chooser
