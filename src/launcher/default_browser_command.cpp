#include "launcher/Module_Main.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

std::u16string GetDefaultBrowserCommand(Platform& platform, std::u16string* shell_progid) {
  std::u16string command;
  // Each step may fail on its own; a registry that cannot be read leaves the command empty.
  ContinueOnError(
      [&] { command = systemfn::GetBrowserCommandFromRegistry(platform, true, shell_progid); });
  // The shell is handed the URL alone.
  if (shell_progid != nullptr && !shell_progid->empty()) return u"%s";
  ContinueOnError([&] {
    // The registry marks the URL with "%1"; only its last occurrence is the URL's place, and
    // one at the very start cannot be (it would be the program itself).
    const std::size_t at = FindLastNoCase(command, u"%1");
    if (at == kNotFound || at == 0) {
      command += u" %s";
    } else {
      command.replace(at, 2, u"%s");
    }
  });
  return command;
}

}  // namespace linkvane::Module_Main
