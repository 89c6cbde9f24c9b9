#include "launcher/Module_Main.h"
#include "system/systemfn.h"

namespace linkvane::Module_Main {

std::u16string GetDefaultBrowserCommand(Platform& platform, std::u16string* shell_progid,
                                        bool https) {
  std::u16string command;
  // Each step may fail on its own; a registry that cannot be read leaves the command empty.
  ContinueOnError([&] {
    command = systemfn::GetBrowserCommandFromRegistry(platform, true, shell_progid, https);
  });
  // The shell is handed the URL alone.
  if (shell_progid != nullptr && !shell_progid->empty()) return u"%s";
  ContinueOnError([&] { command = systemfn::TemplateFromOpenCommand(std::move(command)); });
  return command;
}

}  // namespace linkvane::Module_Main
