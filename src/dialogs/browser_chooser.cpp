#include "dialogs/browser_chooser.h"

#include "dialogs/Fn_RWFileDlg.h"
#include "dialogs/user_template_file.h"
#include "language/language.h"
#include "language/text_ids.h"
#include "platform/command_line.h"
#include "platform/text_stream.h"
#include "product/title.h"
#include "system/systemfn.h"
#include "text/case_insensitive.h"

namespace linkvane::chooser {

using language::LeftToRight;
using language::Say;
using language::Text;

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
    return Text(IDS_NO_CHOICE_BROWSER_DAT);
  }
  std::u16string command;
  std::u16string progid;  // a browser that only the shell can start, named by its ProgId
  ContinueOnError(
      [&] { command = systemfn::GetBrowserCommandFromRegistry(platform, true, &progid); });
  if (command.empty() && progid.empty()) {
    return Text(IDS_NO_CHOICE_NO_DEFAULT);
  }
  std::u16string name = progid.empty() ? ProgramFileName(command) : progid;
  for (const RegisteredBrowser& browser : browsers) {
    if (progid.empty() ? EqualsNoCase(browser.open_command, command)
                       : EqualsNoCase(browser.progid, progid)) {
      name = browser.name;
      break;
    }
  }
  return Say(IDS_NO_CHOICE_DEFAULT, {name});
}

class Events : public ChooserEvents {
 public:
  // Keeps what OK accepts in path's browser.dat, or, to open an address once, in *once.
  Events(Platform& platform, TemplateCheck check, std::u16string path,
         std::optional<OneTimeChoice>* once = nullptr)
      : platform_(platform), check_(check), path_(std::move(path)), once_(once) {}

  std::optional<std::u16string> PickProgram(std::uintptr_t owner) override {
    const std::u16string folder =
        platform_.EnvironmentVariable(u"ProgramW6432")
            .value_or(platform_.EnvironmentVariable(u"ProgramFiles").value_or(std::u16string()));
    Fn_RWFileDlg::FileDialogRecord record{u"", folder, u""};
    const std::u16string filter = Text(IDS_PROGRAMS) + std::u16string(u"\0*.exe\0\0", 8);
    if (Fn_RWFileDlg::ShowFileDialog(platform_, 0, record, owner, product::kTitle, filter, 0) !=
        0) {
      return std::nullopt;
    }
    return u"\"" + record.FileName + u"\" %s";
  }

  std::u16string Accept(const std::u16string& command, bool always) override {
    const std::u16string line = OneLine(command);
    if (once_) {
      // Opening once needs a browser; keeping nothing is no answer here.
      if (line.empty()) return Text(IDS_ONCE_NEEDS_BROWSER);
      std::u16string refusal = check_(platform_, line);
      if (refusal.empty()) *once_ = OneTimeChoice{line, always};
      return refusal;
    }
    if (!line.empty()) {
      std::u16string refusal = check_(platform_, line);
      if (!refusal.empty()) return refusal;
    }
    return SaveFirstLine(platform_, path_, line);
  }

 private:
  // One line only, as a single-line box pastes it; only blanks is no command at all.
  static std::u16string OneLine(const std::u16string& command) {
    std::u16string line = command.substr(0, command.find_first_of(u"\r\n"));
    if (line.find_first_not_of(u" \t") == std::u16string::npos) line.clear();
    return line;
  }

  Platform& platform_;
  TemplateCheck check_;
  std::u16string path_;
  std::optional<OneTimeChoice>* once_;
};

// At most limit characters of text, the cut marked; "&" doubled, as a label shows text.
std::u16string Shown(std::u16string_view text, std::size_t limit) {
  std::u16string shown(text.substr(0, limit));
  if (text.size() > limit) shown += u'\u2026';
  for (std::size_t at = shown.find(u'&'); at != std::u16string::npos;
       at = shown.find(u'&', at + 2)) {
    shown.insert(at, 1, u'&');
  }
  return shown;
}

// The dialog's words: its title and the line above the list, then the rest of them.
void Label(ChooserModel& model, std::u16string title, std::u16string prompt) {
  model.title = std::move(title);
  model.prompt = std::move(prompt);
  model.other_label = Text(IDS_CHOOSER_OTHER);
  model.command_label = Text(IDS_CHOOSER_COMMAND);
  model.ok_label = Text(IDS_CHOOSER_OK);
  model.cancel_label = Text(IDS_CHOOSER_CANCEL);
}

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
    platform.ShowMessage(Text(IDS_NO_LOCAL_APPDATA), kErrorOk, product::kTitle);
    return 1;
  }
  ChooserModel model =
      BuildChooserModel(platform, ListRegisteredBrowsers(platform), FirstLineOf(platform, path));
  Label(model, Text(IDS_CHOOSER_TITLE), Text(IDS_CHOOSER_PROMPT));
  Events events(platform, check, path);
  return platform.ShowChooserDialog(model, events) ? 0 : 1;
}

std::optional<OneTimeChoice> ChooseOnce(Platform& platform, TemplateCheck check,
                                        std::u16string_view url, std::u16string_view rule_host,
                                        const std::u16string& rule_template) {
  ChooserModel model;
  for (const RegisteredBrowser& browser : ListRegisteredBrowsers(platform)) {
    if (browser.command_template == rule_template)
      model.selected = static_cast<int>(model.names.size());
    model.names.push_back(browser.name);
    model.commands.push_back(browser.command_template);
  }
  model.command = rule_template;
  Label(model, Text(IDS_ONCE_TITLE), Say(IDS_ONCE_PROMPT, {LeftToRight(Shown(url, 80))}));
  if (!rule_host.empty())
    model.always_label = Say(IDS_ONCE_ALWAYS, {LeftToRight(Shown(rule_host, 60))});
  model.always = !rule_template.empty();
  std::optional<OneTimeChoice> choice;
  Events events(platform, check, std::u16string(), &choice);
  if (!platform.ShowChooserDialog(model, events)) return std::nullopt;
  return choice;
}

}  // namespace linkvane::chooser
