#include "ui_driver.h"

#include <commdlg.h>
#include <dlgs.h>

#include <algorithm>
#include <cstdint>
#include <memory>

namespace linkvane::e2e {

namespace {

constexpr DWORD kPollMs = 50;
// How long a window may take to answer a message. The answer is awaited even from a window
// that looks hung: on a busy machine a window can be slow to answer without being stuck.
constexpr UINT kSendTimeoutMs = 30000;
// How long a window may take to paint itself.
constexpr DWORD kPaintTimeoutMs = 30000;
// The control that holds a message box's text.
constexpr int kMessageTextId = 0xFFFF;

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  const int length = ::GetClassNameW(window, name, 64);
  return std::wstring(name, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::wstring TextOf(HWND window) {
  if (window == nullptr) return std::wstring();
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kSendTimeoutMs,
                             &length)) {
    return std::wstring();
  }
  std::wstring text(length + 1, L'\0');
  DWORD_PTR copied = 0;
  if (!::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                             SMTO_NORMAL, kSendTimeoutMs, &copied)) {
    return std::wstring();
  }
  text.resize(copied);
  return text;
}

bool IsLinkvaneWindow(HWND window, DWORD process_id, const std::wstring& title) {
  DWORD owner = 0;
  ::GetWindowThreadProcessId(window, &owner);
  return owner == process_id && ::IsWindowVisible(window) && ClassOf(window) == L"#32770" &&
         TextOf(window) == title;
}

struct FindRequest {
  DWORD process_id;
  HWND found;
  std::wstring title;
};

BOOL CALLBACK FindTopLevel(HWND window, LPARAM parameter) {
  auto* request = reinterpret_cast<FindRequest*>(parameter);
  if (IsLinkvaneWindow(window, request->process_id, request->title)) {
    request->found = window;
    return FALSE;
  }
  return TRUE;
}

// What a control shows on the screen, as 32-bit pixels, top row first.
struct Pixels {
  LONG width = 0;
  LONG height = 0;
  std::vector<std::uint32_t> values;
};

Pixels CapturePixels(HDC source, int x, int y, LONG width, LONG height) {
  Pixels pixels;
  HDC memory = ::CreateCompatibleDC(source);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (memory != nullptr && bitmap != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    if (::BitBlt(memory, 0, 0, width, height, source, x, y, SRCCOPY)) {
      ::GdiFlush();
      const auto* first = static_cast<const std::uint32_t*>(bits);
      pixels.width = width;
      pixels.height = height;
      pixels.values.assign(first, first + static_cast<std::size_t>(width) * height);
    }
    ::SelectObject(memory, old);
  }
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  if (memory != nullptr) ::DeleteDC(memory);
  return pixels;
}

// The icon drawn as a static control draws it (stretched to its client area) on a ground of
// the given colour.
Pixels RenderIcon(HICON icon, LONG width, LONG height, std::uint32_t ground) {
  HDC screen = ::GetDC(nullptr);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  Pixels pixels;
  if (memory != nullptr && bitmap != nullptr) {
    HGDIOBJ old = ::SelectObject(memory, bitmap);
    HBRUSH brush =
        ::CreateSolidBrush(RGB((ground >> 16) & 0xFF, (ground >> 8) & 0xFF, ground & 0xFF));
    RECT all{0, 0, width, height};
    ::FillRect(memory, &all, brush);
    ::DeleteObject(brush);
    ::DrawIconEx(memory, 0, 0, icon, width, height, 0, nullptr, DI_NORMAL);
    pixels = CapturePixels(memory, 0, 0, width, height);
    ::SelectObject(memory, old);
  }
  if (bitmap != nullptr) ::DeleteObject(bitmap);
  if (memory != nullptr) ::DeleteDC(memory);
  ::ReleaseDC(nullptr, screen);
  return pixels;
}

std::size_t Differences(const Pixels& a, const Pixels& b) {
  if (a.width != b.width || a.height != b.height || a.values.size() != b.values.size()) {
    return static_cast<std::size_t>(-1);
  }
  std::size_t count = 0;
  for (std::size_t i = 0; i < a.values.size(); ++i) {
    count += (a.values[i] & 0xFFFFFF) != (b.values[i] & 0xFFFFFF);
  }
  return count;
}

// Which of the system's icons the control shows. An icon handle of another process cannot be
// read here, so the comparison is made on the screen: the control's pixels against each
// system icon drawn the same way. The corner pixel is the ground (all of these icons are
// round or triangular, so their corners are transparent).
BoxIcon ClassifyIconControl(HWND control) {
  RECT client{};
  if (!::GetClientRect(control, &client) || client.right <= 0 || client.bottom <= 0) {
    return BoxIcon::kUnknown;
  }
  // The window's rectangle, not its client origin: in a box laid out right to left the client
  // origin is the right edge.
  RECT window{};
  ::GetWindowRect(control, &window);
  const POINT origin{window.left + (window.right - window.left - client.right) / 2,
                     window.top + (window.bottom - window.top - client.bottom) / 2};
  // An icon partly beyond the screen's edge cannot be seen, and would never be recognised.
  if (origin.x < 0 || origin.y < 0 || origin.x + client.right > ::GetSystemMetrics(SM_CXSCREEN) ||
      origin.y + client.bottom > ::GetSystemMetrics(SM_CYSCREEN)) {
    return BoxIcon::kUnknown;
  }
  const struct {
    LPCWSTR id;
    BoxIcon icon;
  } kSystemIcons[] = {
      {IDI_ERROR, BoxIcon::kError},
      {IDI_QUESTION, BoxIcon::kQuestion},
      {IDI_WARNING, BoxIcon::kWarning},
      {IDI_INFORMATION, BoxIcon::kInformation},
  };
  // The box may not have painted itself yet, which can take long on a busy machine: look again
  // until one of the icons shows. Only a box showing none of them waits for the limit.
  const ULONGLONG deadline = ::GetTickCount64() + kPaintTimeoutMs;
  do {
    HDC screen = ::GetDC(nullptr);
    const Pixels shown = CapturePixels(screen, origin.x, origin.y, client.right, client.bottom);
    ::ReleaseDC(nullptr, screen);
    if (!shown.values.empty()) {
      const std::size_t tolerance = shown.values.size() / 50;
      for (const auto& candidate : kSystemIcons) {
        Pixels drawn = RenderIcon(::LoadIconW(nullptr, candidate.id), shown.width, shown.height,
                                  shown.values[0]);
        if (Differences(shown, drawn) <= tolerance) return candidate.icon;
        // A box laid out right to left shows its icon mirrored.
        const auto width = static_cast<std::size_t>(drawn.width);
        for (std::size_t row = 0; row < drawn.values.size(); row += width) {
          std::reverse(drawn.values.begin() + row, drawn.values.begin() + row + width);
        }
        if (Differences(shown, drawn) <= tolerance) return candidate.icon;
      }
    }
    ::Sleep(kPollMs);
  } while (::GetTickCount64() < deadline);
  return BoxIcon::kUnknown;
}

struct IconSearch {
  HWND found = nullptr;
};

BOOL CALLBACK FindIconControl(HWND child, LPARAM parameter) {
  const LONG style = ::GetWindowLongW(child, GWL_STYLE);
  if (ClassOf(child) == L"Static" && (style & SS_TYPEMASK) == SS_ICON && ::IsWindowVisible(child)) {
    reinterpret_cast<IconSearch*>(parameter)->found = child;
    return FALSE;
  }
  return TRUE;
}

// Memory in another process, released with it.
class RemoteBuffer {
 public:
  RemoteBuffer(DWORD process_id, std::size_t size)
      : process_(::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE,
                               process_id)),
        size_(size) {
    if (process_ != nullptr) {
      address_ =
          ::VirtualAllocEx(process_, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    }
  }
  ~RemoteBuffer() {
    if (address_ != nullptr) ::VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    if (process_ != nullptr) ::CloseHandle(process_);
  }
  RemoteBuffer(const RemoteBuffer&) = delete;
  RemoteBuffer& operator=(const RemoteBuffer&) = delete;

  void* address() const { return address_; }
  bool Read(void* out, std::size_t size) const {
    SIZE_T got = 0;
    return address_ != nullptr && size <= size_ &&
           ::ReadProcessMemory(process_, address_, out, size, &got) && got == size;
  }

 private:
  HANDLE process_;
  std::size_t size_;
  void* address_ = nullptr;
};

HWND FileNameControl(HWND dialog) {
  // The file-name box is a combo box with an edit field in the newer layout (cmb13) and a
  // plain edit field in the older one (edt1).
  for (int id : {cmb13, edt1}) {
    if (HWND control = ::GetDlgItem(dialog, id)) return control;
  }
  return nullptr;
}

}  // namespace

const char* BoxIconName(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::kNone:
      return "none";
    case BoxIcon::kError:
      return "error";
    case BoxIcon::kQuestion:
      return "question";
    case BoxIcon::kWarning:
      return "warning";
    case BoxIcon::kInformation:
      return "information";
    case BoxIcon::kUnknown:
      break;
  }
  return "unknown";
}

HWND FindLinkvaneWindow(DWORD process_id, const std::wstring& title) {
  FindRequest request{process_id, nullptr, title};
  ::EnumWindows(FindTopLevel, reinterpret_cast<LPARAM>(&request));
  return request.found;
}

bool TypeKeys(HWND window, const std::wstring& keys) {
  GUITHREADINFO info{};
  info.cbSize = sizeof(info);
  if (!::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info) ||
      info.hwndFocus == nullptr) {
    return false;
  }
  // A character goes as the character a key press makes; Enter and Esc as the keys, which
  // the dialog itself acts on.
  for (const wchar_t key : keys) {
    const UINT virtual_key = key == L'\r' ? VK_RETURN : key == L'\x1B' ? VK_ESCAPE : 0;
    if (virtual_key == 0) {
      ::PostMessageW(info.hwndFocus, WM_CHAR, key, 1);
    } else {
      ::PostMessageW(info.hwndFocus, WM_KEYDOWN, virtual_key, 1);
      ::PostMessageW(info.hwndFocus, WM_KEYUP, virtual_key, 0xC0000001);
    }
  }
  return true;
}

HWND WaitForLinkvaneWindow(DWORD process_id, DWORD timeout_ms, const std::wstring& title) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  for (;;) {
    if (HWND window = FindLinkvaneWindow(process_id, title)) return window;
    if (::GetTickCount64() >= deadline) return nullptr;
    ::Sleep(kPollMs);
  }
}

bool IsMessageBox(HWND window) { return ::GetDlgItem(window, kMessageTextId) != nullptr; }

MessageBoxContent ReadMessageBox(HWND box) {
  MessageBoxContent content;
  content.title = TextOf(box);
  content.text = TextOf(::GetDlgItem(box, kMessageTextId));
  for (int id : {IDOK, IDCANCEL, IDABORT, IDRETRY, IDIGNORE, IDYES, IDNO, IDTRYAGAIN, IDCONTINUE}) {
    HWND button = ::GetDlgItem(box, id);
    if (button != nullptr && ::IsWindowVisible(button))
      content.buttons.push_back({id, TextOf(button)});
  }
  // The default button is the one drawn as such, which Enter presses when it has the focus.
  // DM_GETDEFID alone can mislead: Wine's message box marks its default button only by its
  // style and focus, and answers DM_GETDEFID with the template's IDOK.
  for (const BoxButton& button : content.buttons) {
    const LONG style = ::GetWindowLongW(::GetDlgItem(box, button.id), GWL_STYLE);
    if ((style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) content.default_button = button.id;
  }
  DWORD_PTR default_id = 0;
  if (content.default_button == 0 &&
      ::SendMessageTimeoutW(box, DM_GETDEFID, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &default_id) &&
      HIWORD(default_id) == DC_HASDEFID) {
    content.default_button = LOWORD(default_id);
  }
  IconSearch search;
  ::EnumChildWindows(box, FindIconControl, reinterpret_cast<LPARAM>(&search));
  if (search.found != nullptr) {
    DWORD_PTR icon = 0;
    ::SendMessageTimeoutW(search.found, STM_GETICON, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &icon);
    content.icon = icon != 0 ? ClassifyIconControl(search.found) : BoxIcon::kNone;
  }
  return content;
}

void PressButton(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

OpenDialogContent ReadOpenDialog(HWND dialog, DWORD process_id) {
  OpenDialogContent content;
  content.title = TextOf(dialog);

  // CDM_GETFOLDERPATH writes into memory of the dialog's own process.
  constexpr std::size_t kChars = 32768;
  RemoteBuffer buffer(process_id, kChars * sizeof(wchar_t));
  DWORD_PTR length = 0;
  if (buffer.address() != nullptr &&
      ::SendMessageTimeoutW(dialog, CDM_GETFOLDERPATH, kChars,
                            reinterpret_cast<LPARAM>(buffer.address()), SMTO_NORMAL, kSendTimeoutMs,
                            &length) &&
      static_cast<LONG_PTR>(length) > 0 && length <= kChars) {
    std::wstring folder(length, L'\0');
    if (buffer.Read(folder.data(), length * sizeof(wchar_t))) {
      folder.resize(folder.find(L'\0') == std::wstring::npos ? length : folder.find(L'\0'));
      content.folder = folder;
    }
  }

  if (HWND types = ::GetDlgItem(dialog, cmb1)) {
    DWORD_PTR count = 0;
    ::SendMessageTimeoutW(types, CB_GETCOUNT, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &count);
    for (DWORD_PTR i = 0; i<count&& static_cast<LONG_PTR>(count)> 0; ++i) {
      DWORD_PTR item_length = 0;
      ::SendMessageTimeoutW(types, CB_GETLBTEXTLEN, i, 0, SMTO_NORMAL, kSendTimeoutMs,
                            &item_length);
      std::wstring item(item_length + 1, L'\0');
      DWORD_PTR copied = 0;
      ::SendMessageTimeoutW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(item.data()),
                            SMTO_NORMAL, kSendTimeoutMs, &copied);
      item.resize(static_cast<LONG_PTR>(copied) > 0 ? copied : 0);
      content.filters.push_back(item);
    }
    DWORD_PTR selected = 0;
    if (::SendMessageTimeoutW(types, CB_GETCURSEL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &selected)) {
      content.selected_filter = static_cast<int>(static_cast<LONG_PTR>(selected));
    }
  }
  return content;
}

bool SelectFilter(HWND dialog, int index) {
  HWND types = ::GetDlgItem(dialog, cmb1);
  if (types == nullptr) return false;
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(types, CB_SETCURSEL, static_cast<WPARAM>(index), 0, SMTO_NORMAL,
                             kSendTimeoutMs, &result) ||
      static_cast<LONG_PTR>(result) != index) {
    return false;
  }
  // Setting the selection from outside sends no notification; the dialog acts on this one.
  return ::SendMessageTimeoutW(dialog, WM_COMMAND, MAKEWPARAM(cmb1, CBN_SELCHANGE),
                               reinterpret_cast<LPARAM>(types), SMTO_NORMAL, kSendTimeoutMs,
                               &result) != 0;
}

bool TypeFileName(HWND dialog, const std::wstring& name) {
  HWND control = FileNameControl(dialog);
  if (control == nullptr) return false;
  DWORD_PTR result = 0;
  if (!::SendMessageTimeoutW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()),
                             SMTO_NORMAL, kSendTimeoutMs, &result)) {
    return false;
  }
  return TextOf(control) == name;
}

bool WaitForWindowGone(HWND window, DWORD timeout_ms) {
  const ULONGLONG deadline = ::GetTickCount64() + timeout_ms;
  while (::IsWindow(window)) {
    if (::GetTickCount64() >= deadline) return false;
    ::Sleep(kPollMs);
  }
  return true;
}

}  // namespace linkvane::e2e
