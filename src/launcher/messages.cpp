#include "launcher/messages.h"

#include "text/decimal.h"

namespace linkvane::messages {

namespace {

constexpr std::u16string_view kCrLf = u"\r\n";

// A message box cannot show megabytes of text: a longer one is shown by its beginning.
constexpr std::size_t kLongestShownText = 1024;

std::u16string Shown(std::u16string_view text) {
  if (text.size() <= kLongestShownText) return std::u16string(text);
  return std::u16string(text.substr(0, kLongestShownText)) + u"...";
}

}  // namespace

std::u16string FileNotFound(std::u16string_view argument) {
  std::u16string text = u"Sorry, the given argument (URL file)";
  text.append(kCrLf).append(u"\"").append(argument).append(u"\"").append(kCrLf);
  return text.append(u"could not be found!");
}

std::u16string NoBrowserCommand() {
  return u"Sorry, no browser command to open any weblocation (URL) is defined!";
}

std::u16string NoUrlFound() {
  std::u16string text = u"Sorry, there wasn't found an URL inside the URL file.";
  return text.append(kCrLf).append(u"Continue anyway?");
}

std::u16string UrlHasSpaces() {
  std::u16string text =
      u"The read URL contains spaces (blank characters) which should not be the case with a "
      u"proper URL.";
  return text.append(kCrLf).append(u"Continue anyway?");
}

std::u16string EnvironmentInUrl(std::u16string_view url) {
  std::u16string text = u"This shortcut puts values from your computer into its web address:";
  return text.append(kCrLf).append(Shown(url)).append(kCrLf).append(u"Continue anyway?");
}

std::u16string NotAWebPage(std::u16string_view url) {
  std::u16string text = u"This shortcut does not lead to a web page:";
  return text.append(kCrLf).append(Shown(url)).append(kCrLf).append(u"Continue anyway?");
}

std::u16string CannotExecute(std::u16string_view command, std::int32_t number,
                             std::u16string_view description) {
  std::u16string text = u"Sorry, Windows shell could not execute the defined command:";
  text.append(kCrLf).append(Shown(command)).append(kCrLf).append(kCrLf);
  text.append(u"Error code = ").append(DecimalText(number)).append(u" (");
  return text.append(description).append(u").");
}

std::u16string NotAProgram(bool dll) {
  return std::u16string(dll ? u"This is a DLL, a part of a program, not a program itself"
                            : u"This is not a Windows program: a shortcut, a script, a 16-bit "
                              u"program or another kind of file") +
         u". Choose the browser's own .exe";
}

std::u16string TemplateTooShort() {
  return u"A browser command has at least 4 characters: the browser's program, and %s where the "
         u"address goes.";
}

std::u16string UnexpectedError(std::int32_t number, std::u16string_view description) {
  std::u16string text = u"Sorry, Linkvane stopped because of an unexpected error.";
  text.append(kCrLf).append(kCrLf).append(u"Error code = ").append(DecimalText(number));
  return text.append(u" (").append(description).append(u").");
}

}  // namespace linkvane::messages
