// Hot keys and injected input over Win32.
#include "platform/win32/internal.h"

namespace win32 {

namespace {

// The device's call that drops another program's hot key registration. The desktop has no such
// call (and no coredll), so there the takeover is simply skipped.
using UnregisterFunc1Proc = BOOL(WINAPI*)(UINT modifiers, UINT keyCode);
HMODULE gCoreLibrary = nullptr;
UnregisterFunc1Proc gUnregisterFunc1 = nullptr;

// Keys whose scan code needs the extended prefix; without it the system reads the arrows and the
// navigation block as the numeric keypad's keys.
bool IsExtendedKey(uint8_t vk) {
  return (vk >= VK_PRIOR && vk <= VK_DOWN) || vk == VK_INSERT || vk == VK_DELETE || vk == VK_LWIN || vk == VK_RWIN ||
         vk == VK_APPS || vk == VK_DIVIDE || vk == VK_NUMLOCK || vk == VK_RCONTROL || vk == VK_RMENU ||
         vk == VK_SNAPSHOT;
}

}  // namespace

}  // namespace win32

namespace plat {

using win32::Hwnd;

bool AddHotKey(Window window, int id, uint32_t modifiers, uint32_t keyCode) {
  return ::RegisterHotKey(Hwnd(window), id, modifiers, keyCode) != 0;
}

bool RemoveHotKey(Window window, int id) { return ::UnregisterHotKey(Hwnd(window), id) != 0; }

bool OpenHotKeyTakeover() {
  if (win32::gUnregisterFunc1 != nullptr) return true;
  win32::gCoreLibrary = win32::LoadSystemLibrary(L"coredll.dll");
  if (win32::gCoreLibrary == nullptr) return false;
  // Looked up by name at run time; the cast goes through the generic pointer GetProcAddress returns.
  win32::gUnregisterFunc1 = reinterpret_cast<win32::UnregisterFunc1Proc>(
      reinterpret_cast<void*>(::GetProcAddress(win32::gCoreLibrary, "UnregisterFunc1")));
  if (win32::gUnregisterFunc1 == nullptr) {
    ::FreeLibrary(win32::gCoreLibrary);
    win32::gCoreLibrary = nullptr;
    return false;
  }
  return true;
}

void TakeHotKey(uint32_t modifiers, uint32_t keyCode) {
  if (win32::gUnregisterFunc1 != nullptr) win32::gUnregisterFunc1(modifiers, keyCode);
}

void CloseHotKeyTakeover() {
  win32::gUnregisterFunc1 = nullptr;
  if (win32::gCoreLibrary != nullptr) ::FreeLibrary(win32::gCoreLibrary);
  win32::gCoreLibrary = nullptr;
}

// The unit arrives as typed text (WM_CHAR) whatever the keyboard layout and modifiers held.
void SendCharacter(WChar unit) {
  INPUT inputs[2]{};
  for (INPUT& in : inputs) {
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = unit;
    in.ki.dwFlags = KEYEVENTF_UNICODE;
  }
  inputs[1].ki.dwFlags |= KEYEVENTF_KEYUP;
  ::SendInput(2, inputs, sizeof(INPUT));
}

void SendKeyTransition(uint8_t keyCode, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = keyCode;
  in.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(keyCode, MAPVK_VK_TO_VSC));
  if (win32::IsExtendedKey(keyCode)) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  if (up) in.ki.dwFlags |= KEYEVENTF_KEYUP;
  ::SendInput(1, &in, sizeof(INPUT));
}

// Bit 0 of the key state is the toggle: Caps Lock is on, whether or not the key is held.
bool IsCapsLockOn() { return (::GetKeyState(VK_CAPITAL) & 1) != 0; }

}  // namespace plat
