// The browser chooser: a standard dialog from the resource template, so that it has the
// system's look, scales with the display and needs no drawing of its own. What it lists and
// what OK does is the logic's; this only shows it and reports what the user does.

#include <exception>

#include "platform/win32/chooser_resource.h"
#include "platform/win32/system_library.h"
#include "platform/win32/win32_platform.h"
#include "product/title.h"

namespace linkvane::win32 {

namespace {

constexpr wchar_t kUser32[] = L"user32.dll";

// The user32 functions the dialog needs, loaded only when it is shown: no other run of
// Linkvane pays for them.
struct User32 {
  decltype(&::DialogBoxParamW) dialog_box;
  decltype(&::EndDialog) end_dialog;
  decltype(&::SendDlgItemMessageW) send_item;
  decltype(&::SetDlgItemTextW) set_item_text;
  decltype(&::GetDlgItem) get_item;
  decltype(&::GetWindowTextLengthW) text_length;
  decltype(&::GetWindowTextW) get_text;
  decltype(&::MessageBoxW) message_box;
  decltype(&::SetFocus) set_focus;
  decltype(&::SetWindowTextW) set_text;
  decltype(&::ShowWindow) show;
};

template <typename Function>
void Load(Function*& function, const char* name) {
  function = SystemFunctionAs<Function>(kUser32, name);
  if (function == nullptr) throw LastError();
}

User32 LoadUser32() {
  User32 user32{};
  Load(user32.dialog_box, "DialogBoxParamW");
  Load(user32.end_dialog, "EndDialog");
  Load(user32.send_item, "SendDlgItemMessageW");
  Load(user32.set_item_text, "SetDlgItemTextW");
  Load(user32.get_item, "GetDlgItem");
  Load(user32.text_length, "GetWindowTextLengthW");
  Load(user32.get_text, "GetWindowTextW");
  Load(user32.message_box, "MessageBoxW");
  Load(user32.set_focus, "SetFocus");
  Load(user32.set_text, "SetWindowTextW");
  Load(user32.show, "ShowWindow");
  return user32;
}

// One showing of the chooser. What the logic raises is kept here and raised again once the
// dialog has closed: an exception must never pass through the system's window code.
class Chooser {
 public:
  Chooser(const User32& user32, const ChooserModel& model, ChooserEvents& events)
      : user32_(user32), model_(model), events_(events) {}

  INT_PTR Handle(HWND dialog, UINT message, WPARAM wparam) {
    if (message == WM_INITDIALOG) {
      for (const std::u16string& name : model_.names) {
        user32_.send_item(dialog, LINKVANE_CHOOSER_LIST, LB_ADDSTRING, 0,
                          reinterpret_cast<LPARAM>(Wide(name)));
      }
      user32_.send_item(dialog, LINKVANE_CHOOSER_LIST, LB_SETCURSEL,
                        static_cast<WPARAM>(model_.selected), 0);
      user32_.set_item_text(dialog, LINKVANE_CHOOSER_COMMAND, Wide(model_.command));
      if (!model_.title.empty()) user32_.set_text(dialog, Wide(model_.title));
      // One template serves every language: its words are the logic's.
      const std::pair<int, const std::u16string*> labels[] = {
          {LINKVANE_CHOOSER_PROMPT, &model_.prompt},
          {LINKVANE_CHOOSER_OTHER, &model_.other_label},
          {LINKVANE_CHOOSER_COMMAND_LABEL, &model_.command_label},
          {IDOK, &model_.ok_label},
          {IDCANCEL, &model_.cancel_label}};
      for (const auto& [control, label] : labels) {
        if (!label->empty()) user32_.set_item_text(dialog, control, Wide(*label));
      }
      if (!model_.always_label.empty()) {
        user32_.set_item_text(dialog, LINKVANE_CHOOSER_ALWAYS, Wide(model_.always_label));
        user32_.send_item(dialog, LINKVANE_CHOOSER_ALWAYS, BM_SETCHECK,
                          model_.always ? BST_CHECKED : BST_UNCHECKED, 0);
        user32_.show(user32_.get_item(dialog, LINKVANE_CHOOSER_ALWAYS), SW_SHOW);
      }
      // The list has the focus, so that typing a name's first letter selects it.
      user32_.set_focus(user32_.get_item(dialog, LINKVANE_CHOOSER_LIST));
      return FALSE;
    }
    if (message != WM_COMMAND) return FALSE;
    const int control = LOWORD(wparam);
    const int notification = HIWORD(wparam);
    if (control == LINKVANE_CHOOSER_LIST && notification == LBN_SELCHANGE) {
      // The command box follows every selection, made by the mouse or the keyboard.
      const LRESULT index = user32_.send_item(dialog, LINKVANE_CHOOSER_LIST, LB_GETCURSEL, 0, 0);
      if (index >= 0 && static_cast<std::size_t>(index) < model_.commands.size()) {
        user32_.set_item_text(dialog, LINKVANE_CHOOSER_COMMAND,
                              Wide(model_.commands[static_cast<std::size_t>(index)]));
      }
    } else if (control == LINKVANE_CHOOSER_OTHER && notification == BN_CLICKED) {
      if (std::optional<std::u16string> picked =
              events_.PickProgram(reinterpret_cast<std::uintptr_t>(dialog))) {
        user32_.set_item_text(dialog, LINKVANE_CHOOSER_COMMAND, Wide(*picked));
        user32_.send_item(dialog, LINKVANE_CHOOSER_LIST, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
      }
    } else if (control == IDOK ||
               (control == LINKVANE_CHOOSER_LIST && notification == LBN_DBLCLK)) {
      Accept(dialog);
    } else if (control == IDCANCEL) {
      user32_.end_dialog(dialog, IDCANCEL);
    } else {
      return FALSE;
    }
    return TRUE;
  }

  const User32& user32() const { return user32_; }
  std::exception_ptr failure;

 private:
  void Accept(HWND dialog) {
    HWND box = user32_.get_item(dialog, LINKVANE_CHOOSER_COMMAND);
    std::vector<wchar_t> text(static_cast<std::size_t>(user32_.text_length(box)) + 1);
    const int length = user32_.get_text(box, text.data(), static_cast<int>(text.size()));
    const bool always =
        user32_.send_item(dialog, LINKVANE_CHOOSER_ALWAYS, BM_GETCHECK, 0, 0) == BST_CHECKED;
    const std::u16string refusal = events_.Accept(
        FromWide(text.data(), static_cast<std::size_t>(std::max(length, 0))), always);
    if (refusal.empty()) {
      user32_.end_dialog(dialog, IDOK);
      return;
    }
    // The dialog stays open: the user may mend the command or cancel.
    user32_.message_box(dialog, Wide(refusal), Wide(product::kTitle),
                        MB_OK | MB_ICONERROR | PrepareWindowLayout());
    user32_.set_focus(box);
  }

  const User32& user32_;
  const ChooserModel& model_;
  ChooserEvents& events_;
};

// The chooser being shown; a process shows one at a time, on its only thread.
Chooser* shown_chooser = nullptr;

INT_PTR CALLBACK ChooserProcedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_INITDIALOG) shown_chooser = reinterpret_cast<Chooser*>(lparam);
  Chooser* chooser = shown_chooser;
  if (chooser == nullptr || chooser->failure) return FALSE;
  try {
    return chooser->Handle(dialog, message, wparam);
  } catch (...) {
    chooser->failure = std::current_exception();
    chooser->user32().end_dialog(dialog, IDCANCEL);
    return TRUE;
  }
}

}  // namespace

bool Win32Platform::ShowChooserDialog(const ChooserModel& model, ChooserEvents& events) {
  const User32 user32 = LoadUser32();
  PrepareWindowLayout();
  Chooser chooser(user32, model, events);
  const INT_PTR result =
      user32.dialog_box(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(LINKVANE_CHOOSER_DIALOG),
                        nullptr, ChooserProcedure, reinterpret_cast<LPARAM>(&chooser));
  const DWORD error = ::GetLastError();
  shown_chooser = nullptr;
  if (chooser.failure) std::rethrow_exception(chooser.failure);
  if (result == -1) throw LastError(error);
  return result == IDOK;
}

}  // namespace linkvane::win32
