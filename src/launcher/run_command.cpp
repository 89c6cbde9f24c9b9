#include <optional>

#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "system/systemfn.h"

namespace linkvane::Module_Main {

namespace {

// A message box cannot show megabytes of text: a longer command is shown by its beginning.
constexpr std::size_t kLongestShownCommand = 1024;

std::u16string ShownCommand(const std::u16string& command) {
  if (command.size() <= kLongestShownCommand) return command;
  return command.substr(0, kLongestShownCommand) + u"...";
}

}  // namespace

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
  platform.ShowMessage(
      messages::CannotExecute(ShownCommand(line), failure->Number(), failure->Description()),
      messages::kErrorOk, messages::kTitle);
  return false;
}

}  // namespace linkvane::Module_Main
