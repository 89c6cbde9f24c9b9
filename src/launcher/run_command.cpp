#include <algorithm>
#include <optional>

#include "language/language.h"
#include "language/text_ids.h"
#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "platform/command_line.h"
#include "system/systemfn.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::int32_t kErrorNotSupported = 50;  // ERROR_NOT_SUPPORTED

PlatformError InterpreterRefused() {
  return PlatformError(kErrorNotSupported, language::Text(IDS_NO_SCRIPT_HOST));
}

}  // namespace

void ShowCannotExecute(Platform& platform, const std::u16string& command,
                       const PlatformError& error) {
  // ERROR_BAD_EXE_FORMAT and ERROR_EXE_MACHINE_TYPE_MISMATCH: Windows' own words name no fix.
  const bool not_a_program = error.Number() == 193 || error.Number() == 216;
  platform.ShowMessage(
      messages::CannotExecute(command, error.Number(),
                              not_a_program ? messages::NotAProgram(false) : error.Description()),
      messages::kErrorOk, messages::kTitle);
}

std::u16string ProgramToStart(Platform& platform, const std::u16string& command,
                              std::size_t url_start, std::size_t& name_end) {
  if (command.empty()) throw PlatformError(kErrorInvalidArgument, u"The command line is empty.");
  // cmd.exe parses its command line again, by rules no quoting can satisfy for every URL: the
  // program is judged by its name as written and by the file it turns out to be.
  const bool passes_url = url_start != std::u16string::npos;
  if (passes_url && IsCommandInterpreter(ProgramNameOf(command))) throw InterpreterRefused();
  std::u16string program =
      FindProgram(platform, command, passes_url ? url_start : command.size(), name_end);
  if (passes_url && IsCommandInterpreter(program)) throw InterpreterRefused();
  return program;
}

void StartBrowser(Platform& platform, const std::u16string& command, std::size_t url_start) {
  std::size_t name_end = 0;
  const std::u16string program = ProgramToStart(platform, command, url_start, name_end);
  // A browser takes its first argument for its own path: one found from unquoted text (blanks
  // and all, or a bare name) is named by the path found, quoted, so that the browser's
  // arguments are exactly the template's.
  std::u16string line = command;
  if (command[0] != u'"') line.replace(0, name_end, u'"' + program + u'"');
  // It starts in its own folder, so that it holds no other open (a shortcut's USB stick), and
  // suspended until it alone may come to the front, with the default error mode rather than
  // Linkvane's own.
  // (At a drive's root, "C:\\".)
  const std::u16string folder =
      program.substr(0, std::max<std::size_t>(program.find_last_of(u"\\/"), 3));
  std::unique_ptr<StartedProcess> process = platform.StartProcess(
      program, line, folder, kShowNormal, kCreateSuspended | kCreateDefaultErrorMode);
  platform.AllowForeground(process->Id());
  process->Resume();
}

bool OpenWithShell(Platform& platform, const std::u16string& progid, const std::u16string& url) {
  auto error = ContinueOnError([&] { platform.OpenWithClass(progid, url); });
  if (error) ShowCannotExecute(platform, progid + u' ' + url, *error);
  return !error;
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
