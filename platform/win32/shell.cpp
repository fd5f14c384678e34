// The shell over Win32: the tray, popup menus and message boxes.
#include "platform/win32/internal.h"
// After <windows.h>, which it needs.
#include <shellapi.h>

namespace win32 {

namespace {

HMENU Hmenu(plat::Menu menu) { return reinterpret_cast<HMENU>(menu); }

NOTIFYICONDATAW TrayRecord(plat::Window window, uint32_t id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = Hwnd(window);
  data.uID = id;
  return data;
}

}  // namespace

}  // namespace win32

namespace plat {

using win32::W;

// Taps come back as the callback message with the mouse message in lParam, the shell's original
// way of reporting (no version is asked for).
bool AddTrayIcon(Window window, uint32_t id, uint32_t callbackMessage, Icon icon, const WChar* tip) {
  if (window == nullptr) return false;
  NOTIFYICONDATAW data = win32::TrayRecord(window, id);
  data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  data.uCallbackMessage = callbackMessage;
  data.hIcon = reinterpret_cast<HICON>(icon);
  win32::CopyOut(reinterpret_cast<WChar*>(data.szTip), sizeof data.szTip / sizeof data.szTip[0],
                 tip != nullptr ? W(tip) : L"");
  return ::Shell_NotifyIconW(NIM_ADD, &data) != 0;
}

bool DeleteTrayIcon(Window window, uint32_t id) {
  if (window == nullptr) return false;
  NOTIFYICONDATAW data = win32::TrayRecord(window, id);
  return ::Shell_NotifyIconW(NIM_DELETE, &data) != 0;
}

Menu NewPopupMenu() { return reinterpret_cast<Menu>(::CreatePopupMenu()); }

bool AppendMenuItem(Menu menu, uint32_t id, const WChar* text) {
  if (menu == nullptr) return false;
  return ::AppendMenuW(win32::Hmenu(menu), MF_STRING, id, text != nullptr ? W(text) : L"") != 0;
}

bool AppendMenuSeparator(Menu menu) {
  return menu != nullptr && ::AppendMenuW(win32::Hmenu(menu), MF_SEPARATOR, 0, nullptr) != 0;
}

// On the desktop a menu opened for a window that is not in the foreground (as from the tray) does
// not close when the user clicks elsewhere; the owner is brought forward first, and the message
// posted afterwards lets the menu's own loop finish cleanly. The window the user worked in comes
// back to the front afterwards, as it never left it on the device.
uint32_t ShowPopupMenu(Menu menu, MenuAnchor anchor, int x, int y, Window owner) {
  if (menu == nullptr) return 0;
  UINT flags = 0;
  switch (anchor) {
    case MenuAnchor::TopLeft: flags = TPM_TOPALIGN | TPM_LEFTALIGN; break;
    case MenuAnchor::BottomRight: flags = TPM_BOTTOMALIGN | TPM_RIGHTALIGN; break;
    default: return 0;  // no corner of ours: nothing opens
  }
  HWND hwnd = win32::Hwnd(owner);
  HWND previous = ::GetForegroundWindow();
  if (hwnd != nullptr) ::SetForegroundWindow(hwnd);
  const BOOL choice = ::TrackPopupMenuEx(win32::Hmenu(menu), flags | TPM_RETURNCMD, x, y, hwnd, nullptr);
  if (hwnd != nullptr) {
    ::PostMessageW(hwnd, WM_NULL, 0, 0);
    if (previous != nullptr && previous != hwnd && ::GetForegroundWindow() == hwnd) ::SetForegroundWindow(previous);
  }
  return choice > 0 ? static_cast<uint32_t>(choice) : 0;
}

void FreeMenu(Menu menu) {
  if (menu != nullptr) ::DestroyMenu(win32::Hmenu(menu));
}

int ShowMessageBox(const WChar* text, const WChar* title, uint32_t flags) {
  return ::MessageBoxW(nullptr, text != nullptr ? W(text) : L"", title != nullptr ? W(title) : L"", flags);
}

}  // namespace plat
