// The shell: the tray, popup menus and message boxes. Menus and boxes are modal: they block the
// program while its windows go on receiving their timers, hot keys and posted messages.
#pragma once

#include "platform/base.h"

namespace plat {

// An icon in the system tray with a tip; taps come back as `callbackMessage` with the mouse message
// in lParam.
bool AddTrayIcon(Window window, uint32_t id, uint32_t callbackMessage, Icon icon, const WChar* tip);
bool DeleteTrayIcon(Window window, uint32_t id);

Menu NewPopupMenu();
bool AppendMenuItem(Menu menu, uint32_t id, const WChar* text);
bool AppendMenuSeparator(Menu menu);
// Which corner of the menu sits at the point it is opened at.
enum class MenuAnchor { TopLeft, BottomRight };
// Returns the identifier chosen, 0 when nothing was.
uint32_t ShowPopupMenu(Menu menu, MenuAnchor anchor, int x, int y, Window owner);
void FreeMenu(Menu menu);

// Message box buttons, icons and manners.
constexpr uint32_t kMbOk = 0x0;
constexpr uint32_t kMbOkCancel = 0x1;
constexpr uint32_t kMbYesNoCancel = 0x3;
constexpr uint32_t kMbYesNo = 0x4;
constexpr uint32_t kMbIconHand = 0x10;
constexpr uint32_t kMbIconQuestion = 0x20;
constexpr uint32_t kMbIconExclamation = 0x30;
constexpr uint32_t kMbDefButton2 = 0x100;
constexpr uint32_t kMbSetForeground = 0x10000;
constexpr uint32_t kMbTopmost = 0x40000;
// The buttons a box returns.
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdYes = 6;
constexpr int kIdNo = 7;

// A modal message box with no owner; returns the button chosen (kIdOk ...).
int ShowMessageBox(const WChar* text, const WChar* title, uint32_t flags);

}  // namespace plat
