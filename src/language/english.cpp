#include "language/english.h"

#include "language/text_ids.h"

namespace linkvane::language {

namespace {

// Word for word as the program has always shown them: tests and users' scripts rely on them.
constexpr EnglishText kTexts[] = {
    {IDS_FILE_NOT_FOUND, "Sorry, the given argument (URL file)\r\n\"{1}\"\r\ncould not be found!"},
    {IDS_NO_BROWSER_COMMAND, "Sorry, no browser command to open any weblocation (URL) is defined!"},
    {IDS_NO_URL_FOUND, "Sorry, there wasn't found an URL inside the URL file.\r\nContinue anyway?"},
    {IDS_URL_HAS_SPACES,
     "The read URL contains spaces (blank characters) which should not be the case with a "
     "proper URL.\r\nContinue anyway?"},
    {IDS_CANNOT_EXECUTE, "Sorry, Windows shell could not execute the defined command:\r\n{1}"},
    {IDS_NOT_A_WEB_PAGE, "This shortcut does not lead to a web page:\r\n{1}\r\nContinue anyway?"},
    {IDS_ENVIRONMENT_IN_URL,
     "This shortcut puts values from your computer into its web address:\r\n{1}\r\n"
     "Continue anyway?"},
    {IDS_UNEXPECTED_ERROR, "Sorry, Linkvane stopped because of an unexpected error."},
    {IDS_NOT_A_PROGRAM,
     "This is not a Windows program: a shortcut, a script, a 16-bit program or another kind "
     "of file. Choose the browser's own .exe"},
    {IDS_A_DLL,
     "This is a DLL, a part of a program, not a program itself. Choose the browser's own .exe"},
    {IDS_TEMPLATE_TOO_SHORT,
     "A browser command has at least 4 characters: the browser's program, and %s where the "
     "address goes."},
    {IDS_OSINT_ALONE,
     "With -osint the browser takes no other switch: remove -osint to add switches"},
    {IDS_SINGLE_ARGUMENT_LAST,
     "The browser takes all after --single-argument for the address: put switches before "
     "--single-argument"},
    {IDS_NO_SCRIPT_HOST,
     "A batch file or cmd.exe cannot be given a URL safely; name the browser's program "
     "instead."},
    {IDS_NOT_ENOUGH_MEMORY, "Not enough memory."},
    {IDS_UNKNOWN_ERROR, "Unknown error."},

    {IDS_REGISTERED_FOR_YOU, "Linkvane is registered for you:\r\n{1}"},
    {IDS_REGISTERED_FOR_ALL, "Linkvane is registered for every user of this computer:\r\n{1}"},
    {IDS_NOT_REGISTERED_FOR_YOU, "Linkvane was not registered for you:\r\n{1}"},
    {IDS_NOT_REGISTERED_FOR_ALL,
     "Linkvane was not registered for every user of this computer:\r\n{1}"},
    {IDS_CANNOT_REGISTER_FOR_YOU, "Linkvane could not be registered for you:\r\n{1}"},
    {IDS_CANNOT_REGISTER_FOR_ALL,
     "Linkvane could not be registered for every user of this computer:\r\n{1}"},
    {IDS_UNREGISTERED_FOR_YOU, "Linkvane is no longer registered for you:\r\n{1}"},
    {IDS_UNREGISTERED_FOR_ALL,
     "Linkvane is no longer registered for every user of this computer:\r\n{1}"},
    {IDS_CANNOT_UNREGISTER_FOR_YOU, "Linkvane could not be unregistered for you:\r\n{1}"},
    {IDS_CANNOT_UNREGISTER_FOR_ALL,
     "Linkvane could not be unregistered for every user of this computer:\r\n{1}"},
    {IDS_OTHER_COPY_FOR_YOU,
     "Nothing was removed: the file types open with another copy of Linkvane for you:\r\n{1}"},
    {IDS_OTHER_COPY_FOR_ALL,
     "Nothing was removed: the file types open with another copy of Linkvane for every user "
     "of this computer:\r\n{1}"},
    {IDS_UNPROTECTED_COPY,
     "This copy lies in a folder that users other than administrators may change, and every "
     "user would run what they put there. To register Linkvane for every user, install it for "
     "all users (into Program Files). To register this copy for yourself alone, use /register "
     "without /allusers."},
    {IDS_NOTHING_CHANGED, "Nothing was changed."},
    {IDS_TAKEN_ONE, "{1} files now open with it."},
    {IDS_TAKEN_TWO, "{1} and {2} files now open with it."},
    {IDS_KEPT_ONE, "{1} files keep the program they open with."},
    {IDS_KEPT_TWO, "{1} and {2} files keep the program they open with."},
    {IDS_URL_STAYS, ".url files stay with Windows, with Linkvane under \"Open with\"."},
    {IDS_ENTRIES_MAY_REMAIN, "Some of its entries may remain."},
    {IDS_OTHERS_STAY, "File types that other programs have stay as they are."},
    {IDS_UNREGISTER_THAT_COPY, "Unregister that copy to undo its registration."},
    {IDS_NOTHING_TO_REMOVE, "There was nothing to remove."},
    {IDS_ERROR_CODE, "Error code = {1} ({2})."},
    {IDS_AS_ADMINISTRATOR, "For every user, start it as an administrator."},

    {IDS_USAGE_SHORTCUT_FILE, "shortcut file"},
    {IDS_USAGE_OPEN, "opens the shortcut in the browser"},
    {IDS_USAGE_REGISTER, "opens .webloc and .desktop files with this program"},
    {IDS_USAGE_UNREGISTER, "undoes /register"},
    {IDS_USAGE_CHOOSE, "chooses the browser that opens shortcuts for you"},
    {IDS_USAGE_OPENWITH, "opens the shortcut once, in a browser you pick"},
    {IDS_USAGE_ALLUSERS, "/allusers: for every user of this computer (needs administrator rights)"},
    {IDS_USAGE_QUIET, "/quiet: no message, the exit status tells"},
    {IDS_TAKES_ONE_SHORTCUT, "{1} takes one shortcut file and nothing else."},
    {IDS_SWITCHES_CONFLICT, "These switches do not go together."},
    {IDS_UNKNOWN_SWITCH, "Unknown switch: {1}"},

    {IDS_CHOOSER_TITLE, "Linkvane - choose a browser"},
    {IDS_CHOOSER_PROMPT, "&Open web-location shortcuts with:"},
    {IDS_CHOOSER_OTHER, "Othe&r program\u2026"},
    {IDS_CHOOSER_COMMAND, "&Command (%s is where the address goes):"},
    {IDS_CHOOSER_OK, "OK"},
    {IDS_CHOOSER_CANCEL, "Cancel"},
    {IDS_NO_CHOICE_BROWSER_DAT, "No choice of my own (the computer's browser.dat)"},
    {IDS_NO_CHOICE_NO_DEFAULT, "No choice of my own (Windows names no default browser)"},
    {IDS_NO_CHOICE_DEFAULT, "No choice of my own (Windows' default browser: {1})"},
    {IDS_ONCE_TITLE, "Linkvane - open in another browser"},
    {IDS_ONCE_PROMPT, "&Open {1} with:"},
    {IDS_ONCE_ALWAYS, "&Always open {1} in this browser"},
    {IDS_ONCE_NEEDS_BROWSER, "Choose the browser that opens this address."},
    {IDS_NO_LOCAL_APPDATA,
     "Your choice of browser cannot be kept: Windows names no folder for your local "
     "application data (\"Local AppData\")."},
    {IDS_CANNOT_SAVE, "Your choice could not be saved in\r\n{1}"},
    {IDS_OLD_FILE_NOW_AT,
     "The file as it was is now\r\n{1}\r\nRename it to browser.dat to have it back."},
    {IDS_ANSI_CANNOT_HOLD,
     "The file is kept in your system's code page (ANSI), which cannot hold every character "
     "of this command. Save the file as UTF-8, or choose another command."},
    {IDS_SHORTCUT_FILES, "shortcut files"},
    {IDS_ALL_FILES, "all files"},
    {IDS_PROGRAMS, "programs"},
    {IDS_OPEN_WITH_VERB, "Open in another browser\u2026"},
    {IDS_HOW_TO_OPEN_WITH,
     "To open them with Linkvane, right-click one, choose \"Open with\", then \"Choose another "
     "app\", select Linkvane and tick \"Always\"."},
};

static_assert(std::size(kTexts) == IDS_END - 1, "every id has its English text");

}  // namespace

std::span<const EnglishText> EnglishTexts() { return kTexts; }

std::u16string English(std::uint16_t id) {
  // The table is in the order of the ids, which count from 1 without a gap.
  if (id == 0 || id >= IDS_END || kTexts[id - 1].id != id) return {};
  const std::string_view text = kTexts[id - 1].text;
  // The table's texts are UTF-8, and all of them ASCII but for "\u2026": half the bytes of
  // UTF-16 in the executable. Only characters of up to three bytes occur.
  std::u16string wide;
  wide.reserve(text.size());
  for (std::size_t at = 0; at < text.size(); ++at) {
    const auto byte = [&](std::size_t i) { return static_cast<char16_t>(text[i] & 0x3F); };
    const auto lead = static_cast<unsigned char>(text[at]);
    if (lead >= 0xE0 && at + 2 < text.size()) {
      wide.push_back(static_cast<char16_t>((lead & 0x0F) << 12 | byte(at + 1) << 6 | byte(at + 2)));
      at += 2;
    } else if (lead >= 0xC0 && at + 1 < text.size()) {
      wide.push_back(static_cast<char16_t>((lead & 0x1F) << 6 | byte(at + 1)));
      at += 1;
    } else {
      wide.push_back(lead);
    }
  }
  return wide;
}

}  // namespace linkvane::language
