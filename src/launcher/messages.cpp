#include "launcher/messages.h"

#include "language/language.h"
#include "language/text_ids.h"
#include "text/decimal.h"

namespace linkvane::messages {

using language::LeftToRight;
using language::Say;
using language::Text;

namespace {

// A message box cannot show megabytes of text: a longer one is shown by its beginning.
constexpr std::size_t kLongestShownText = 1024;

std::u16string Shown(std::u16string_view text) {
  if (text.size() <= kLongestShownText) return std::u16string(text);
  return std::u16string(text.substr(0, kLongestShownText)) + u"...";
}

}  // namespace

std::u16string FileNotFound(std::u16string_view argument) {
  return Say(IDS_FILE_NOT_FOUND, {LeftToRight(argument)});
}

std::u16string ErrorCode(std::int32_t number, std::u16string_view description) {
  return Say(IDS_ERROR_CODE, {DecimalText(number), description});
}

std::u16string NoBrowserCommand() { return Text(IDS_NO_BROWSER_COMMAND); }

std::u16string NoUrlFound() { return Text(IDS_NO_URL_FOUND); }

std::u16string UrlHasSpaces() { return Text(IDS_URL_HAS_SPACES); }

std::u16string EnvironmentInUrl(std::u16string_view url) {
  return Say(IDS_ENVIRONMENT_IN_URL, {LeftToRight(Shown(url))});
}

std::u16string NotAWebPage(std::u16string_view url) {
  return Say(IDS_NOT_A_WEB_PAGE, {LeftToRight(Shown(url))});
}

std::u16string CannotExecute(std::u16string_view command, std::int32_t number,
                             std::u16string_view description) {
  return Say(IDS_CANNOT_EXECUTE, {LeftToRight(Shown(command))}) + u"\r\n\r\n" +
         ErrorCode(number, description);
}

std::u16string NotAProgram(bool dll) { return Text(dll ? IDS_A_DLL : IDS_NOT_A_PROGRAM); }

std::u16string TemplateTooShort() { return Text(IDS_TEMPLATE_TOO_SHORT); }

std::u16string UnexpectedError(std::int32_t number, std::u16string_view description) {
  return Text(IDS_UNEXPECTED_ERROR) + u"\r\n\r\n" + ErrorCode(number, description);
}

}  // namespace linkvane::messages
