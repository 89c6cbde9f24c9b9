// A template judged before it is kept (linkvane.exe /choose): refused for what a launch would
// refuse it, with the same reason, so that a choice never fails only at the next shortcut.

#include <memory>
#include <string_view>

#include "language/language.h"
#include "language/text_ids.h"
#include "launcher/Module_Main.h"
#include "launcher/messages.h"
#include "platform/command_line.h"
#include "text/case_insensitive.h"

namespace linkvane::Module_Main {

namespace {

constexpr char16_t kSampleUrl[] = u"https://example.com/";
constexpr std::int32_t kErrorBadExeFormat = 193;  // ERROR_BAD_EXE_FORMAT
constexpr std::size_t kHeaderBytes = 4096;        // the MZ header and the PE header after it

enum class Kind { kProgram, kDll, kOther };

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t count) {
  std::uint32_t value = 0;
  while (count-- > 0) value = (value << 8) | static_cast<unsigned char>(bytes[at + count]);
  return value;
}

// What the file that begins with head is: a Windows GUI or console program (an executable
// image, PE, subsystem 2 or 3), a DLL, or anything else (a shortcut, a script, a 16-bit program).
Kind KindOf(std::string_view head) {
  if (head.size() < 0x40 || head.substr(0, 2) != "MZ") return Kind::kOther;
  const std::size_t pe = LittleEndian(head, 0x3C, 4);
  if (pe > head.size() || head.size() - pe < 24 + 70) return Kind::kOther;
  if (head.substr(pe, 4) != std::string_view("PE\0\0", 4)) return Kind::kOther;
  const std::uint32_t characteristics = LittleEndian(head, pe + 22, 2);
  if ((characteristics & 0x2000) != 0) return Kind::kDll;  // IMAGE_FILE_DLL
  const std::uint32_t subsystem = LittleEndian(head, pe + 24 + 68, 2);
  const bool image = (characteristics & 0x0002) != 0;  // IMAGE_FILE_EXECUTABLE_IMAGE
  return image && (subsystem == 2 || subsystem == 3) ? Kind::kProgram : Kind::kOther;
}

// Why program cannot start as a browser; "" when it is a Windows program, or cannot be read:
// an execution alias opens only as it starts, and a launch tells of any other failure.
std::u16string NotAProgram(Platform& platform, const std::u16string& program) {
  std::string head(kHeaderBytes, '\0');
  std::size_t got = 0;
  if (ContinueOnError([&] {
        const std::unique_ptr<ByteReader> reader = platform.OpenFileForReading(program);
        for (std::size_t n = 1; n != 0 && got < head.size(); got += n) {
          n = reader->Read(head.data() + got, head.size() - got);
        }
      })) {
    return std::u16string();
  }
  const Kind kind = KindOf(std::string_view(head).substr(0, got));
  return kind == Kind::kProgram ? std::u16string() : messages::NotAProgram(kind == Kind::kDll);
}

// Why the browser would refuse the switches of a command as Windows registers it; "" when
// they are its own. Firefox, started with -osint, refuses any switch but -url; Chromium takes
// everything after --single-argument for one address.
std::u16string SwitchRefusal(const std::u16string& command_template) {
  const std::u16string arguments = CommandLineAfterProgramName(command_template);
  for (const std::u16string& argument : SplitArguments(arguments)) {
    if (argument == u"-osint") {
      for (const std::u16string& other : SplitArguments(arguments)) {
        if (other != u"-osint" && other != u"-url" && FindNoCase(other, u"%s") == kNotFound) {
          return language::Text(IDS_OSINT_ALONE);
        }
      }
    }
  }
  const std::size_t single = arguments.find(u"--single-argument");
  if (single != std::u16string::npos) {
    std::u16string_view rest = std::u16string_view(arguments).substr(single + 17);
    while (!rest.empty() && (rest.front() == u' ' || rest.front() == u'\t')) rest.remove_prefix(1);
    while (!rest.empty() && (rest.back() == u' ' || rest.back() == u'\t')) rest.remove_suffix(1);
    if (!EqualsNoCase(rest, u"%s")) {
      return language::Text(IDS_SINGLE_ARGUMENT_LAST);
    }
  }
  return std::u16string();
}

}  // namespace

std::u16string TemplateRefusal(Platform& platform, const std::u16string& command_template) {
  // A launch passes over so short a line as if there were none.
  if (command_template.size() < kShortestTemplate) return messages::TemplateTooShort();
  std::optional<PlatformError> failure = ContinueOnError([&] {
    const LaunchCommand launch = BuildLaunchCommand(platform, command_template, kSampleUrl);
    std::size_t name_end = 0;
    const std::u16string program =
        ProgramToStart(platform, launch.command, launch.url_start, name_end);
    // Judged here, where the user can still choose again, and not at every launch.
    const std::u16string not_a_program = NotAProgram(platform, program);
    if (!not_a_program.empty()) throw PlatformError(kErrorBadExeFormat, not_a_program);
    const std::u16string switches = SwitchRefusal(command_template);
    if (!switches.empty()) throw PlatformError(kErrorInvalidArgument, switches);
  });
  if (!failure) return std::u16string();
  return messages::CannotExecute(command_template, failure->Number(), failure->Description());
}

}  // namespace linkvane::Module_Main
