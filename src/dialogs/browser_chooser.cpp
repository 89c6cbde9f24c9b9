#include "dialogs/browser_chooser.h"

#include "dialogs/Fn_RWFileDlg.h"
#include "dialogs/user_template_file.h"
#include "platform/command_line.h"
#include "platform/text_stream.h"
#include "product/title.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"

namespace linkvane::chooser {

namespace {

constexpr std::size_t kShortestTemplate = 4;
constexpr std::uint32_t kErrorOk = 0x10;  // MB_ICONERROR

// The first line of a text file, as a launch reads it; "" when there is none.
std::u16string FirstLineOf(Platform& platform, const std::u16string& path) {
  std::u16string line;
  ContinueOnError([&] { line = TextStream::Open(platform, path).ReadLine(); });
  return line;
}

std::u16string WithBackslash(std::u16string folder) {
  if (!folder.empty() && folder.back() != u'\\') folder += u'\\';
  return folder;
}

// The file name of the program that an open command starts.
std::u16string ProgramFileName(std::u16string_view command) {
  std::u16string_view program = ProgramNameOf(command);
  if (!program.empty() && program.front() == u'"') program.remove_prefix(1);
  if (!program.empty() && program.back() == u'"') program.remove_suffix(1);
  const std::size_t slash = program.find_last_of(u"\\/");
  return std::u16string(slash == std::u16string_view::npos ? program : program.substr(slash + 1));
}

// What a launch uses when the user has no choice of their own, in words.
std::u16string WithoutAChoice(Platform& platform, const std::vector<RegisteredBrowser>& browsers) {
  const std::u16string beside_exe = WithBackslash(platform.ExecutableDirectory()) + u"browser.dat";
  if (FirstLineOf(platform, beside_exe).size() >= kShortestTemplate) {
    return u"No choice of my own (the computer's browser.dat)";
  }
  std::u16string command;
  std::u16string progid;  // a browser that only the shell can start, named by its ProgId
  ContinueOnError(
      [&] { command = systemfn::GetBrowserCommandFromRegistry(platform, true, &progid); });
  if (command.empty() && progid.empty()) {
    return u"No choice of my own (Windows names no default browser)";
  }
  std::u16string name = progid.empty() ? ProgramFileName(command) : progid;
  for (const RegisteredBrowser& browser : browsers) {
    if (progid.empty() ? EqualsNoCase(browser.open_command, command)
                       : EqualsNoCase(browser.progid, progid)) {
      name = browser.name;
      break;
    }
  }
  return u"No choice of my own (Windows' default browser: " + name + u")";
}

class Events : public ChooserEvents {
 public:
  Events(Platform& platform, TemplateCheck check, std::u16string path)
      : platform_(platform), check_(check), path_(std::move(path)) {}

  std::optional<std::u16string> PickProgram(std::uintptr_t owner) override {
    static constexpr char16_t kFilter[] = u"programs\0*.exe\0";
    const std::u16string folder =
        platform_.EnvironmentVariable(u"ProgramW6432")
            .value_or(platform_.EnvironmentVariable(u"ProgramFiles").value_or(std::u16string()));
    Fn_RWFileDlg::FileDialogRecord record{u"", folder, u""};
    const std::u16string filter(kFilter, sizeof(kFilter) / sizeof(kFilter[0]));
    if (Fn_RWFileDlg::ShowFileDialog(platform_, 0, record, owner, product::kTitle, filter, 0) !=
        0) {
      return std::nullopt;
    }
    return u"\"" + record.FileName + u"\" %s";
  }

  std::u16string Accept(const std::u16string& command) override {
    // One line only, as a single-line box pastes it; only blanks is no choice at all.
    std::u16string line = command.substr(0, command.find_first_of(u"\r\n"));
    if (line.find_first_not_of(u" \t") == std::u16string::npos) line.clear();
    if (!line.empty()) {
      std::u16string refusal = check_(platform_, line);
      if (!refusal.empty()) return refusal;
    }
    return SaveFirstLine(platform_, path_, line);
  }

 private:
  Platform& platform_;
  TemplateCheck check_;
  std::u16string path_;
};

}  // namespace

ChooserModel BuildChooserModel(Platform& platform, const std::vector<RegisteredBrowser>& browsers,
                               const std::u16string& current) {
  ChooserModel model;
  model.names.push_back(WithoutAChoice(platform, browsers));
  model.commands.emplace_back();
  for (const RegisteredBrowser& browser : browsers) {
    model.names.push_back(browser.name);
    model.commands.push_back(browser.command_template);
  }
  const bool has_choice = current.size() >= kShortestTemplate;
  model.command = has_choice ? current : std::u16string();
  for (std::size_t i = 0; i < model.commands.size(); ++i) {
    if (model.commands[i] == model.command) {
      model.selected = static_cast<int>(i);
      break;
    }
  }
  return model;
}

int ChooseBrowser(Platform& platform, TemplateCheck check) {
  const std::u16string path = systemfn::UserTemplatePath(platform);
  if (path.empty()) {
    platform.ShowMessage(
        u"Your choice of browser cannot be kept: Windows names no folder for your local "
        u"application data (\"Local AppData\").",
        kErrorOk, product::kTitle);
    return 1;
  }
  const ChooserModel model =
      BuildChooserModel(platform, ListRegisteredBrowsers(platform), FirstLineOf(platform, path));
  Events events(platform, check, path);
  return platform.ShowChooserDialog(model, events) ? 0 : 1;
}

}  // namespace linkvane::chooser
