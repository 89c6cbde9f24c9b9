#include <optional>

#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "system/systemfn.h"

namespace linkvane::Module_Main {

void ShowCannotExecute(Platform& platform, const std::u16string& command,
                       const PlatformError& error) {
  platform.ShowMessage(messages::CannotExecute(command, error.Number(), error.Description()),
                       messages::kErrorOk, messages::kTitle);
}

void StartBrowser(Platform& platform, const std::u16string& command, std::size_t program_limit) {
  if (command.empty()) throw PlatformError(kErrorInvalidArgument, u"The command line is empty.");
  const std::u16string program = FindProgram(platform, command, program_limit);
  // Suspended until it alone may come to the front, and with the default error mode rather
  // than Linkvane's own.
  std::unique_ptr<StartedProcess> process = platform.StartProcess(
      program, command, kShowNormal, kCreateSuspended | kCreateDefaultErrorMode);
  platform.AllowForeground(process->Id());
  process->Resume();
}

bool RunCommand(Platform& platform, const std::u16string& command, bool expand,
                std::size_t program_limit) {
  std::u16string line = command;
  std::optional<PlatformError> failure;
  // Each step may fail on its own; the error reported is the last one raised.
  if (expand) {
    if (auto error =
            ContinueOnError([&] { line = systemfn::ExpandEnvironmentString(platform, line); })) {
      failure = error;
    }
  }
  if (auto error = ContinueOnError([&] { StartBrowser(platform, line, program_limit); })) {
    failure = error;
  }
  if (!failure) return true;
  ShowCannotExecute(platform, line, *failure);
  return false;
}

}  // namespace linkvane::Module_Main
