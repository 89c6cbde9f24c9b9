#include <optional>

#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "platform/command_line.h"
#include "system/systemfn.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::int32_t kErrorNotSupported = 50;  // ERROR_NOT_SUPPORTED

PlatformError InterpreterRefused() {
  return PlatformError(kErrorNotSupported,
                       u"A batch file or cmd.exe cannot be given a URL safely; name the "
                       u"browser's program instead.");
}

}  // namespace

void ShowCannotExecute(Platform& platform, const std::u16string& command,
                       const PlatformError& error) {
  platform.ShowMessage(messages::CannotExecute(command, error.Number(), error.Description()),
                       messages::kErrorOk, messages::kTitle);
}

std::u16string ProgramToStart(Platform& platform, const std::u16string& command,
                              std::size_t url_start) {
  if (command.empty()) throw PlatformError(kErrorInvalidArgument, u"The command line is empty.");
  // cmd.exe parses its command line again, by rules no quoting can satisfy for every URL: the
  // program is judged by its name as written and by the file it turns out to be.
  const bool passes_url = url_start != std::u16string::npos;
  if (passes_url && IsCommandInterpreter(ProgramNameOf(command))) throw InterpreterRefused();
  std::u16string program = FindProgram(platform, command, passes_url ? url_start : command.size());
  if (passes_url && IsCommandInterpreter(program)) throw InterpreterRefused();
  return program;
}

void StartBrowser(Platform& platform, const std::u16string& command, std::size_t url_start) {
  const std::u16string program = ProgramToStart(platform, command, url_start);
  // Suspended until it alone may come to the front, and with the default error mode rather
  // than Linkvane's own.
  std::unique_ptr<StartedProcess> process = platform.StartProcess(
      program, command, kShowNormal, kCreateSuspended | kCreateDefaultErrorMode);
  platform.AllowForeground(process->Id());
  process->Resume();
}

bool RunCommand(Platform& platform, const std::u16string& command, bool expand,
                std::size_t url_start) {
  std::u16string line = command;
  std::optional<PlatformError> failure;
  // Each step may fail on its own; the error reported is the last one raised.
  if (expand) {
    if (auto error =
            ContinueOnError([&] { line = systemfn::ExpandEnvironmentString(platform, line); })) {
      failure = error;
    }
  }
  if (auto error = ContinueOnError([&] { StartBrowser(platform, line, url_start); })) {
    failure = error;
  }
  if (!failure) return true;
  ShowCannotExecute(platform, line, *failure);
  return false;
}

}  // namespace linkvane::Module_Main
