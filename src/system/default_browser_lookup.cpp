#include "system/systemfn.h"
#include "text/case_insensitive.h"
#include "text/decimal.h"

namespace linkvane::systemfn {

namespace {

constexpr std::u16string_view kHttpAssociation =
    u"HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\"
    u"http\\";

// Where Windows keeps the user's choice of http handler, newest first: Windows 11 24H2 writes
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

}  // namespace

std::u16string GetBrowserCommandFromRegistry(Platform& platform, bool fallback,
                                             std::u16string* shell_progid) {
  for (std::u16string_view value : kProgIdValues) {
    const RegistryValue progid = ReadRegistryValue(
        platform, std::u16string(kHttpAssociation) + std::u16string(value), false);
    if (progid.IsEmpty()) continue;
    const std::u16string name = ProgIdText(progid);
    const std::u16string command_key = name + u"\\shell\\open\\command";
    const RegistryValue command = ReadClassesValue(platform, command_key + u'\\');
    if (command.IsText()) return command.AsText();
    // Only a ProgId without a command key is the shell's to start; a stale choice, whose
    // ProgId is gone, or a broken command leads on to the next place, as before.
    if (shell_progid != nullptr && !name.empty() && ClassesKeyExists(platform, name) &&
        !ClassesKeyExists(platform, command_key)) {
      *shell_progid = name;
      return std::u16string();
    }
  }
  return fallback ? GetHttpOpenCommand(platform) : std::u16string();
}

std::u16string GetHttpOpenCommand(Platform& platform) {
  const RegistryValue value = ReadClassesValue(platform, u"http\\shell\\open\\command\\");
  return value.IsText() ? value.AsText() : std::u16string();
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
