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

bool RunCommand(Platform& platform, const std::u16string& command, bool expand) {
  std::u16string line = command;
  std::optional<PlatformError> failure;
  // Each step may fail on its own; the error reported is the last one raised.
  if (expand) {
    if (auto error =
            ContinueOnError([&] { line = systemfn::ExpandEnvironmentString(platform, line); })) {
      failure = error;
    }
  }
  if (auto error = ContinueOnError([&] { platform.StartProcess(line, kShowNormal); })) {
    failure = error;
  }
  if (!failure) return true;
  ShowCannotExecute(platform, line, *failure);
  return false;
}

}  // namespace linkvane::Module_Main
