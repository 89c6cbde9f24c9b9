#include "system/systemfn.h"
#include "text/case_insensitive.h"
#include "text/decimal.h"

namespace linkvane::systemfn {

namespace {

constexpr std::u16string_view kUrlAssociations =
    u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";

// Where Windows keeps the user's choice of a scheme's handler, newest first: Windows 11 24H2 writes
// UserChoiceLatest, earlier versions UserChoice; the last is the historical location.
constexpr std::u16string_view kProgIdValues[] = {
    u"UserChoiceLatest\\ProgId\\ProgId",
    u"UserChoice\\ProgId",
    u"Progid",
};

// A ProgId as the text of a key name, whatever form the registry stored it in.
std::u16string ProgIdText(const RegistryValue& progid) {
  switch (progid.kind()) {
    case RegistryValue::Kind::kText:
      return progid.AsText();
    case RegistryValue::Kind::kInteger:
      return DecimalText(progid.AsInteger());
    case RegistryValue::Kind::kBytes: {
      // Bytes are taken as UTF-16LE text up to the first NUL.
      const std::vector<std::uint8_t>& bytes = progid.AsBytes();
      std::u16string text;
      for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const char16_t c = char16_t(bytes[i] | (bytes[i + 1] << 8));
        if (c == u'\0') break;
        text.push_back(c);
      }
      return text;
    }
    default:
      return std::u16string();
  }
}

// True when the shell alone can start progid: a packaged (Store) app's verb, activated by its
// class or by a delegate, with no command line of its own. A ProgId left with only a
// description, or a half-removed browser, is no such app.
bool IsShellActivated(Platform& platform, const std::u16string& progid) {
  const std::u16string open = progid + u"\\shell\\open\\";
  return !ReadClassesValue(platform, open + u"command\\DelegateExecute").IsEmpty() ||
         !ReadClassesValue(platform, open + u"ActivatableClassId").IsEmpty();
}

// The open command of the user's choice for scheme, or its ProgId in shell_progid when only
// the shell can start it; "" when the choice gives neither.
std::u16string CommandOfChoice(Platform& platform, std::u16string_view scheme,
                               std::u16string* shell_progid) {
  for (std::u16string_view value : kProgIdValues) {
    const RegistryValue progid = ReadRegistryValue(
        platform, std::u16string(kUrlAssociations).append(scheme).append(u"\\").append(value),
        false);
    if (progid.IsEmpty()) continue;
    const std::u16string name = ProgIdText(progid);
    const RegistryValue command = ReadClassesValue(platform, name + u"\\shell\\open\\command\\");
    if (command.IsText()) return command.AsText();
    if (shell_progid != nullptr && !name.empty() && IsShellActivated(platform, name)) {
      *shell_progid = name;
      return std::u16string();
    }
  }
  return std::u16string();
}

// The default value of scheme's own class's open command when it is text, else "".
std::u16string ClassOpenCommand(Platform& platform, std::u16string_view scheme) {
  const RegistryValue value =
      ReadClassesValue(platform, std::u16string(scheme) + u"\\shell\\open\\command\\");
  return value.IsText() ? value.AsText() : std::u16string();
}

}  // namespace

std::u16string GetBrowserCommandFromRegistry(Platform& platform, bool fallback,
                                             std::u16string* shell_progid, bool https) {
  std::u16string progid;
  std::u16string* const shell = shell_progid != nullptr ? &progid : nullptr;
  const auto nothing_yet = [&](const std::u16string& command) {
    return command.empty() && progid.empty();
  };
  // Windows keeps the choice for https apart from http's: an https address follows it, and
  // the http browser only when it names none.
  std::u16string command;
  if (https) command = CommandOfChoice(platform, u"https", shell);
  if (https && fallback && nothing_yet(command)) command = ClassOpenCommand(platform, u"https");
  if (nothing_yet(command)) command = CommandOfChoice(platform, u"http", shell);
  if (fallback && nothing_yet(command)) command = GetHttpOpenCommand(platform);
  if (shell_progid != nullptr && !progid.empty()) *shell_progid = progid;
  return command;
}

std::u16string GetHttpOpenCommand(Platform& platform) {
  return ClassOpenCommand(platform, u"http");
}

std::u16string TemplateFromOpenCommand(std::u16string command) {
  // The registry marks the URL with "%1"; only its last occurrence is the URL's place, and one
  // at the very start cannot be (it would be the program itself).
  const std::size_t at = FindLastNoCase(command, u"%1");
  if (at == kNotFound || at == 0) {
    command += u" %s";
  } else {
    command.replace(at, 2, u"%s");
  }
  return command;
}

}  // namespace linkvane::systemfn
