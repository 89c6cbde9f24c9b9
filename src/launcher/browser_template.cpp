#include <optional>

#include "launcher/Module_Main.h"
#include "launcher/site_rules.h"
#include "platform/text_stream.h"
#include "system/systemfn.h"
#include "text/spaces.h"

namespace linkvane::Module_Main {

namespace {

constexpr std::int32_t kErrorInvalidHandle = 6;  // ERROR_INVALID_HANDLE

// The stream, or the error of using a file that was never opened.
TextStream& Opened(std::optional<TextStream>& stream) {
  if (!stream) throw PlatformError(kErrorInvalidHandle, u"The file is not open.");
  return *stream;
}

}  // namespace

std::u16string AddBackslash(const std::u16string& path) {
  if (path.empty() || path.back() == u'\\') return path;
  return path + u"\\";
}

std::u16string ReadFirstLine(Platform& platform, const std::u16string& path) {
  std::optional<TextStream> stream;
  std::u16string line;
  // Each step may fail on its own; a missing or unreadable file simply leaves the line empty.
  ContinueOnError([&] { stream.emplace(TextStream::Open(platform, path)); });
  ContinueOnError([&] { line = Opened(stream).ReadLine(); });
  ContinueOnError([&] { Opened(stream).Close(); });
  return line;
}

std::u16string ChooseTemplate(Platform& platform, std::u16string_view url,
                              std::u16string& shell_progid) {
  std::u16string user_file;  // the user's own browser.dat, with sites.txt beside it
  // Without a folder of the user's there is simply no choice of the user's.
  ContinueOnError([&] { user_file = systemfn::UserTemplatePath(platform); });
  const std::u16string address = TrimSpaces(CleanUrl(url));
  // A site's own browser comes first, then the user's choice, this copy's browser.dat and
  // Windows' default.
  std::u16string command_template =
      user_file.empty() ? user_file : SiteTemplate(platform, SiteRulesPath(user_file), address);
  if (command_template.size() < kShortestTemplate && !user_file.empty()) {
    command_template = ReadFirstLine(platform, user_file);
  }
  if (command_template.size() < kShortestTemplate) {
    command_template =
        ReadFirstLine(platform, AddBackslash(platform.ExecutableDirectory()) + u"browser.dat");
  }
  if (command_template.size() < kShortestTemplate) {
    command_template = GetDefaultBrowserCommand(platform, &shell_progid, IsHttpsAddress(address));
  }
  return command_template;
}

}  // namespace linkvane::Module_Main
