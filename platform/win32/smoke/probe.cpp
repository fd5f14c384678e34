// A small Windows program that looks at a running Tarvin.exe from outside, for the smoke run
// under Wine (smoke.sh builds and runs it):
//   probe wait          waits up to 20 s for the engine's window; exit 0 when it is there
//   probe type          types Shift+A and B into an edit box of its own; exit 0 when the layout
//                       made them the Cyrillic capital EF and small I
//   probe quit <code>   posts the quit message with that code to the engine's window
#include <windows.h>

#include <cstdio>
#include <cwchar>

#include "common/messages.h"

namespace {

// The shared names are UTF-16, as wchar_t is on Windows.
const wchar_t* Wide(const char16_t* text) { return reinterpret_cast<const wchar_t*>(text); }

HWND FindEngine() { return FindWindowW(Wide(kEngineClass), Wide(kEngineTitle)); }

int Wait() {
  for (int i = 0; i < 200; ++i) {
    if (HWND engine = FindEngine()) {
      wchar_t cls[64], title[64];
      GetClassNameW(engine, cls, 64);
      GetWindowTextW(engine, title, 64);
      std::printf("engine window: class \"%ls\", title \"%ls\", visible %d\n", cls, title,
                  IsWindowVisible(engine) ? 1 : 0);
      return 0;
    }
    Sleep(100);
  }
  std::printf("no engine window\n");
  return 1;
}

void Pump(DWORD ms) {
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < ms) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(10);
  }
}

void Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &in, sizeof in);
}

int Type() {
  HWND frame = CreateWindowExW(0, L"STATIC", L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 300, 100, nullptr,
                               nullptr, GetModuleHandleW(nullptr), nullptr);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 5, 5, 250, 24, frame, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(frame);
  SetFocus(edit);
  Pump(300);
  Key(VK_SHIFT, false);
  Key('A', false);
  Key('A', true);
  Key(VK_SHIFT, true);
  Key('B', false);  // a key without Shift
  Key('B', true);
  Pump(1000);
  wchar_t text[64] = {};
  GetWindowTextW(edit, text, 64);
  std::printf("edit box:");
  for (const wchar_t* p = text; *p != 0; ++p) std::printf(" %04X", static_cast<unsigned>(*p));
  std::printf("\n");
  DestroyWindow(frame);
  return std::wcscmp(text, L"\u0424\u0438") == 0 ? 0 : 1;
}

int Quit(int code) {
  HWND engine = FindEngine();
  if (engine == nullptr) return 1;
  return PostMessageW(engine, WM_QUIT, static_cast<WPARAM>(code), 0) ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc >= 2 && std::wcscmp(argv[1], L"wait") == 0) return Wait();
  if (argc >= 2 && std::wcscmp(argv[1], L"type") == 0) return Type();
  if (argc >= 3 && std::wcscmp(argv[1], L"quit") == 0) return Quit(_wtoi(argv[2]));
  std::printf("usage: probe wait | type | quit <code>\n");
  return 2;
}
