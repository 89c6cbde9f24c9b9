#pragma once

// A small driver for the windows that linkvane.exe shows: its message boxes and its Open
// dialog. It finds them from outside the process, as a user's eye would, reads what they show
// and presses their buttons. Every wait has a time limit.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace linkvane::e2e {

// The icon a message box shows, told apart by its pixels.
enum class BoxIcon { kNone, kError, kQuestion, kWarning, kInformation, kUnknown };
const char* BoxIconName(BoxIcon icon);

struct BoxButton {
  int id;
  std::wstring text;
};

// A visible top-level window of the process, titled "Linkvane" (or title), of the dialog
// class. Returns null when none appeared within timeout_ms.
HWND WaitForLinkvaneWindow(DWORD process_id, DWORD timeout_ms,
                           const std::wstring& title = L"Linkvane");
// The same, without waiting.
HWND FindLinkvaneWindow(DWORD process_id, const std::wstring& title = L"Linkvane");

// Types keys into the control of window's thread that has the keyboard focus, as a keyboard
// sends them: "\r" is Enter, "\x1B" is Esc. False when no control has the focus.
bool TypeKeys(HWND window, const std::wstring& keys);

// True when window is a message box (it has the message text control), false for any other
// dialog such as the Open dialog.
bool IsMessageBox(HWND window);

// What a message box shows.
struct MessageBoxContent {
  std::wstring title;
  std::wstring text;
  std::vector<BoxButton> buttons;  // the standard buttons present, by id (IDOK, IDYES, ...)
  int default_button = 0;          // DM_GETDEFID; 0 when the box reports none
  BoxIcon icon = BoxIcon::kNone;
};
MessageBoxContent ReadMessageBox(HWND box);

// Presses a button of a dialog, as a click would.
void PressButton(HWND dialog, int id);

// The Open dialog.
struct OpenDialogContent {
  std::wstring title;
  std::optional<std::wstring> folder;  // the folder it shows, when it can be read
  std::vector<std::wstring> filters;   // the texts of the file-type list
  int selected_filter = -1;
};
OpenDialogContent ReadOpenDialog(HWND dialog, DWORD process_id);
// Selects the entry of the file-type list at index, as a user's choice would.
bool SelectFilter(HWND dialog, int index);
// Types name into the file-name field; false when the dialog has none.
bool TypeFileName(HWND dialog, const std::wstring& name);

// Waits until window is gone; false when it is still there after timeout_ms.
bool WaitForWindowGone(HWND window, DWORD timeout_ms);

}  // namespace linkvane::e2e
