#include <new>

#include "dialogs/Fn_RWFileDlg.h"
#include "language/language.h"
#include "language/text_ids.h"
#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "launcher/requests.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::int32_t kErrorNotEnoughMemory = 8;  // ERROR_NOT_ENOUGH_MEMORY
constexpr std::int32_t kErrorUnknown = -1;

void Tell(Platform& platform, const std::u16string& text) {
  platform.ShowMessage(text, messages::kErrorOk, messages::kTitle);
}

// Asks a Yes/No question; only an explicit Yes goes on, so a box that could not be shown
// never lets a doubtful URL through.
bool UserSaysYes(Platform& platform, const std::u16string& text, std::uint32_t flags) {
  return platform.ShowMessage(text, flags, messages::kTitle) == kIdYes;
}

std::u16string AsciiText(const char* text) {
  std::u16string wide;
  for (; text != nullptr && *text != '\0'; ++text) {
    wide.push_back(static_cast<unsigned char>(*text) < 0x80 ? char16_t(*text) : u'?');
  }
  return wide;
}

}  // namespace

int Main(Platform& platform) {
  std::u16string argument = platform.CommandLineText();
  if (argument.empty() && Fn_RWFileDlg::SelectShortcutFile(platform, argument) != 0) {
    return kExitNothingStarted;
  }

  NormalizeArgument(platform, argument);
  if (!FileExists(platform, argument)) {
    Tell(platform, messages::FileNotFound(argument));
    return kExitNothingStarted;
  }

  // The URL comes before the browser, which may depend on it (https has its own choice).
  const std::u16string url_as_read = ReadShortcutUrl(platform, argument);
  std::u16string shell_progid;  // the user's browser when only the shell can start it
  const std::u16string command_template = ChooseTemplate(platform, url_as_read, shell_progid);
  if (command_template.size() < kShortestTemplate && shell_progid.empty()) {
    Tell(platform, messages::NoBrowserCommand());
    return kExitNothingStarted;
  }

  return Launch(platform, command_template, url_as_read, shell_progid);
}

int Launch(Platform& platform, const std::u16string& command_template,
           const std::u16string& url_as_read, const std::u16string& shell_progid) {
  LaunchCommand launch;
  if (auto error = ContinueOnError(
          [&] { launch = BuildLaunchCommand(platform, command_template, url_as_read); })) {
    // Nothing half-expanded is ever started: the box shows the command as the files spell it.
    ShowCannotExecute(platform, SubstituteUrl(command_template, CleanUrl(url_as_read)), *error);
    return kExitStartFailed;
  }

  const std::u16string& url = launch.url;
  if (url.empty() && !UserSaysYes(platform, messages::NoUrlFound(), messages::kQuestionYesNo)) {
    return kExitNothingStarted;
  }
  if (url.find(u' ') != std::u16string::npos &&
      !UserSaysYes(platform, messages::UrlHasSpaces(), messages::kErrorYesNo)) {
    return kExitNothingStarted;
  }
  if (launch.url_expanded &&
      !UserSaysYes(platform, messages::EnvironmentInUrl(url), messages::kWarningYesNo)) {
    return kExitNothingStarted;
  }
  // Explorer and rundll32 open a local program or script as readily as a page.
  const bool asks =
      !IsWebOrLocalFileAddress(platform, url) ||
      (!IsWebAddress(url) && shell_progid.empty() && StartsShellOpener(platform, launch));
  if (!url.empty() && asks &&
      !UserSaysYes(platform, messages::NotAWebPage(url), messages::kWarningYesNo)) {
    return kExitNothingStarted;
  }

  const bool started = shell_progid.empty()
                           ? RunCommand(platform, launch.command, false, launch.url_start)
                           : OpenWithShell(platform, shell_progid, launch.command);
  return started ? kExitStarted : kExitStartFailed;
}

int RunProgram(Platform& platform) {
  const language::UserLanguage language(platform);
  std::int32_t number = kErrorUnknown;
  std::u16string description;
  try {
    // A command line of switches alone is a request; anything else names a shortcut.
    if (const std::optional<int> status = RunRequest(platform)) return *status;
    return Main(platform);
  } catch (const PlatformError& error) {
    number = error.Number();
    description = error.Description();
  } catch (const std::bad_alloc&) {
    number = kErrorNotEnoughMemory;
    description = language::Text(IDS_NOT_ENOUGH_MEMORY);
  } catch (const std::exception& error) {
    description = AsciiText(error.what());
  } catch (...) {
    description = language::Text(IDS_UNKNOWN_ERROR);
  }
  Tell(platform, messages::UnexpectedError(number, description));
  return kExitErrorReported;
}

}  // namespace linkvane::Module_Main
