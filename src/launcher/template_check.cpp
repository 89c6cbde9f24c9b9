// A template judged before it is kept (linkvane.exe /choose): refused for what a launch would
// refuse it, with the same reason, so that a choice never fails only at the next shortcut.

#include "launcher/Module_Main.h"
#include "launcher/messages.h"

namespace linkvane::Module_Main {

namespace {

constexpr char16_t kSampleUrl[] = u"https://example.com/";

}  // namespace

std::u16string TemplateRefusal(Platform& platform, const std::u16string& command_template) {
  // A launch passes over so short a line as if there were none.
  if (command_template.size() < kShortestTemplate) return messages::TemplateTooShort();
  const std::optional<PlatformError> failure = ContinueOnError([&] {
    const LaunchCommand launch = BuildLaunchCommand(platform, command_template, kSampleUrl);
    std::size_t name_end = 0;
    ProgramToStart(platform, launch.command, launch.url_start, name_end);
  });
  if (!failure) return std::u16string();
  return messages::CannotExecute(command_template, failure->Number(), failure->Description());
}

}  // namespace linkvane::Module_Main
