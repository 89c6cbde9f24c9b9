// The command line that is finally started. The URL and each stretch of the template are
// expanded once and apart: a percent sign of the URL can never close a reference the template
// opened, and a value that the environment brings into the URL is judged and encoded like the
// rest of it.

#include "launcher/Module_Main.h"
#include "platform/command_line.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"
#include "text/spaces.h"

namespace linkvane::Module_Main {

namespace {

// The file name at the end of a program path, less the trailing dots and spaces that Windows
// ignores in a file name.
std::u16string_view FileNameOf(std::u16string_view program) {
  const std::size_t slash = program.find_last_of(u"\\/:");
  std::u16string_view name =
      slash == std::u16string_view::npos ? program : program.substr(slash + 1);
  while (!name.empty() && (name.back() == u'.' || name.back() == u' ')) name.remove_suffix(1);
  return name;
}

}  // namespace

// A 32-bit program on 64-bit Windows sees %ProgramFiles% as the x86 folder, while the user who
// wrote the template sees the browser under "Program Files". The template's references to the
// two folders are read as the 64-bit ones, paired as the expansion pairs percent signs; the
// process's environment, which the browser inherits, stays as it is.
std::u16string ExpandAsTheUserSees(Platform& platform, std::u16string_view text) {
  if (!platform.RunsUnderWow64()) {
    return systemfn::ExpandEnvironmentStringChecked(platform, std::u16string(text));
  }
  struct Rename {
    std::u16string_view name, native;
  };
  constexpr Rename kRenames[] = {{u"ProgramFiles", u"ProgramW6432"},
                                 {u"CommonProgramFiles", u"CommonProgramW6432"}};
  std::u16string result;
  std::size_t from = 0;
  for (std::size_t open = text.find(u'%'); open != std::u16string_view::npos;
       open = text.find(u'%', from)) {
    const std::size_t close = text.find(u'%', open + 1);
    if (close == std::u16string_view::npos) break;
    std::u16string_view name = text.substr(open + 1, close - open - 1);
    for (const Rename& rename : kRenames) {
      if (EqualsNoCase(name, rename.name) &&
          platform.EnvironmentVariable(std::u16string(rename.native))) {
        name = rename.native;
      }
    }
    result.append(text.substr(from, open - from)).append(u"%").append(name).append(u"%");
    from = close + 1;
  }
  return systemfn::ExpandEnvironmentStringChecked(platform, result.append(text.substr(from)));
}

LaunchCommand BuildLaunchCommand(Platform& platform, std::u16string_view command_template,
                                 std::u16string_view url_as_read) {
  LaunchCommand launch;
  const std::u16string cleaned = CleanUrl(url_as_read);
  const std::u16string expanded = systemfn::ExpandEnvironmentStringChecked(platform, cleaned);
  launch.url_expanded = expanded != cleaned;
  launch.url = TrimSpaces(expanded);

  std::vector<std::u16string> stretches = SplitAtPlaceholders(command_template);
  for (std::u16string& stretch : stretches) stretch = ExpandAsTheUserSees(platform, stretch);
  launch.command = JoinWithUrl(stretches, EncodeUnsafeUrlCharacters(platform, launch.url));
  launch.url_start = stretches.size() > 1 ? stretches.front().size() : std::u16string::npos;
  return launch;
}

bool IsCommandInterpreter(std::u16string_view program) {
  std::u16string_view name = FileNameOf(program);
  if (EndsWithNoCase(name, u".bat") || EndsWithNoCase(name, u".cmd")) return true;
  // Script hosts run what the URL names, or parse it as script, whatever quotes surround it.
  if (EndsWithNoCase(name, u".exe")) name.remove_suffix(4);
  for (std::u16string_view host :
       {u"cmd", u"mshta", u"wscript", u"cscript", u"powershell", u"pwsh", u"conhost"}) {
    if (EqualsNoCase(name, host)) return true;
  }
  return false;
}

bool IsShellOpener(std::u16string_view program) {
  std::u16string_view name = FileNameOf(program);
  if (EndsWithNoCase(name, u".exe")) name.remove_suffix(4);
  return EqualsNoCase(name, u"explorer") || EqualsNoCase(name, u"rundll32");
}

bool StartsShellOpener(Platform& platform, const LaunchCommand& launch) {
  if (launch.url_start == std::u16string::npos) return false;
  if (IsShellOpener(ProgramNameOf(launch.command))) return true;
  std::u16string program;
  std::size_t name_end = 0;
  // A program that cannot be found is reported when it is started.
  ContinueOnError(
      [&] { program = FindProgram(platform, launch.command, launch.url_start, name_end); });
  return IsShellOpener(program);
}

}  // namespace linkvane::Module_Main
