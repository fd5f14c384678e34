#include "tests/e2e/driver/desk.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace e2e {

namespace {

constexpr wchar_t kDeskClass[] = L"TarvinE2EDesk";
constexpr int kEditId = 1;
constexpr int kProbeHotKeyId = 0xBFFF;
constexpr double kBoxWatchPeriodMs = 50;

bool gFailed = false;

// The screen as a 24-bit BMP file in the device folder: what a person would have seen at the
// moment a check failed. The runner turns it into a PNG beside the logs.
void CaptureScreen(const std::wstring& path) {
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap != nullptr) {
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
    SelectObject(memory, old);
    const DWORD stride = (static_cast<DWORD>(width) * 3 + 3) & ~3u;
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;  // "BM"
    header.bfOffBits = sizeof header + sizeof info.bmiHeader;
    header.bfSize = header.bfOffBits + stride * static_cast<DWORD>(height);
    if (FILE* file = _wfopen(path.c_str(), L"wb")) {
      std::fwrite(&header, sizeof header, 1, file);
      std::fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, file);
      std::fwrite(bits, 1, stride * static_cast<DWORD>(height), file);
      std::fclose(file);
    }
    DeleteObject(bitmap);
  }
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void Print(const char* prefix, const char* format, va_list args) {
  std::fputs(prefix, stdout);
  std::vfprintf(stdout, format, args);
  std::fputc('\n', stdout);
  std::fflush(stdout);
}

LRESULT CALLBACK DeskProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    // Like any editor, the window hands the keyboard focus back to its edit box whenever it
    // becomes active again (after a message box or a popup that took the foreground).
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) SetFocus(GetDlgItem(window, kEditId));
      return 0;
    case WM_SETFOCUS: SetFocus(GetDlgItem(window, kEditId)); return 0;
    case WM_CLOSE: return 0;
    default: return DefWindowProcW(window, message, wParam, lParam);
  }
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  GetClassNameW(window, name, 64);
  return name;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

BOOL CALLBACK CollectBox(HWND window, LPARAM found) {
  if (IsWindowVisible(window) && ClassOf(window) == L"#32770") {
    reinterpret_cast<std::vector<HWND>*>(found)->push_back(window);
  }
  return TRUE;
}

BOOL CALLBACK CollectStaticText(HWND child, LPARAM text) {
  if (ClassOf(child) == L"Static") {
    const std::wstring part = TextOf(child);
    auto& all = *reinterpret_cast<std::wstring*>(text);
    if (!part.empty()) all += all.empty() ? part : L"|" + part;
  }
  return TRUE;
}

}  // namespace

double NowMs() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string Shown(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c == L'\n') out += "\\n";
    else if (c == L'\r') out += "\\r";
    else if (c < 0x20) out += "?";
    else out += Utf8(std::wstring(1, c));
  }
  out += "\"";
  // The code units tell look-alike letters apart (Latin A, Cyrillic А, Greek Α); a long text of
  // plain ASCII needs none.
  const bool plain = std::all_of(text.begin(), text.end(), [](wchar_t c) { return c < 0x80; });
  if (plain || text.size() > 16) return out;
  out += " [";
  char unit[8];
  for (size_t i = 0; i < text.size(); ++i) {
    std::snprintf(unit, sizeof unit, i == 0 ? "%04X" : " %04X", static_cast<unsigned>(text[i]));
    out += unit;
  }
  return out + "]";
}

std::wstring ProgramFolder() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder = path;
  return folder.substr(0, folder.find_last_of(L'\\') + 1);
}

void Pass(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("ok: ", format, args);
  va_end(args);
}

void Fail(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("FAIL: ", format, args);
  va_end(args);
  if (!gFailed) CaptureScreen(ProgramFolder() + L"failure.bmp");
  gFailed = true;
}

void Note(const char* format, ...) {
  va_list args;
  va_start(args, format);
  Print("", format, args);
  va_end(args);
}

bool AnyFailed() { return gFailed; }

// ---- the desk ----------------------------------------------------------------------------------

bool Desk::Open() {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSW windowClass{};
  windowClass.lpfnWndProc = DeskProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kDeskClass;
  RegisterClassW(&windowClass);
  main_ = CreateWindowExW(0, kDeskClass, L"Tarvin end-to-end desk", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 520, 120,
                          nullptr, nullptr, instance, nullptr);
  if (main_ == nullptr) return false;
  edit_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 10, 10, 480, 28,
                          main_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kEditId)), instance, nullptr);
  if (edit_ == nullptr) return false;
  SendMessageW(edit_, EM_SETLIMITTEXT, 0, 0);
  // The desk keeps an icon of its own in the tray, as a device's tray always has some. Without a
  // window manager Wine's tray stalls for two seconds whenever its last icon goes, which would
  // hold up an engine that replaces its icon on every switch.
  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = main_;
  icon.uID = 1;
  icon.uFlags = NIF_ICON | NIF_TIP;
  icon.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
  lstrcpynW(icon.szTip, L"end-to-end desk", 64);
  Shell_NotifyIconW(NIM_ADD, &icon);
  Focus();
  Pump(100);
  return true;
}

bool Desk::Focus() {
  SetForegroundWindow(main_);
  SetFocus(edit_);
  if (WaitUntil([this] { return HasFocus(); })) return true;
  Fail("the driver's edit box cannot get the keyboard focus");
  return false;
}

bool Desk::HasFocus() const { return GetForegroundWindow() == main_ && GetFocus() == edit_; }

void Desk::Record(const MSG& message) {
  if (message.hwnd != edit_) return;
  if (message.message == WM_KEYDOWN || message.message == WM_SYSKEYDOWN) {
    keys_.push_back({static_cast<uint8_t>(message.wParam), GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                     GetKeyState(VK_MENU) < 0});
  } else if (message.message == WM_CHAR) {
    chars_.push_back({static_cast<wchar_t>(message.wParam), NowMs()});
  }
}

void Desk::Pump(DWORD ms) {
  const double end = NowMs() + ms;
  for (;;) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      Record(message);
      TranslateMessage(&message);
      DispatchMessageW(&message);
    }
    if (NowMs() - lastBoxWatch_ >= kBoxWatchPeriodMs) WatchBoxes();
    const double left = end - NowMs();
    if (left <= 0) return;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(std::min(left, 10.0)) + 1, QS_ALLINPUT);
  }
}

bool Desk::WaitUntil(const std::function<bool()>& done, DWORD timeoutMs) {
  const double end = NowMs() + timeoutMs;
  for (;;) {
    if (done()) return true;
    if (NowMs() >= end) return false;
    Pump(10);
  }
}

// Whatever box appears is answered at once, as the user would, so that nobody stays blocked; the
// case then decides whether it expected it.
void Desk::WatchBoxes() {
  lastBoxWatch_ = NowMs();
  std::erase_if(answered_, [](HWND window) { return !IsWindow(window); });
  std::vector<HWND> found;
  EnumWindows(CollectBox, reinterpret_cast<LPARAM>(&found));
  for (HWND box : found) {
    if (std::find(answered_.begin(), answered_.end(), box) != answered_.end()) continue;
    SeenBox seen{TextOf(box), {}, box};
    EnumChildWindows(box, CollectStaticText, reinterpret_cast<LPARAM>(&seen.text));
    Note("message box \"%s\": %s", Utf8(seen.title).c_str(), Shown(seen.text).c_str());
    boxes_.push_back(seen);
    answered_.push_back(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
}

void Desk::Press(ScanWord word) {
  std::vector<INPUT> inputs;
  auto key = [&inputs](uint8_t vk, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    inputs.push_back(input);
  };
  const uint8_t code = static_cast<uint8_t>(word & 0xFF);
  if (word & 0x0200) key(VK_CONTROL, false);
  if (word & 0x0400) key(VK_MENU, false);
  if (word & 0x0100) key(VK_SHIFT, false);
  if (word & 0x0800) key(VK_LWIN, false);
  key(code, false);
  key(code, true);
  if (word & 0x0800) key(VK_LWIN, true);
  if (word & 0x0100) key(VK_SHIFT, true);
  if (word & 0x0400) key(VK_MENU, true);
  if (word & 0x0200) key(VK_CONTROL, true);
  SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void Desk::PressAll(const std::vector<ScanWord>& words, DWORD gapMs) {
  for (size_t i = 0; i < words.size(); ++i) {
    if (i > 0) Pump(gapMs);
    Press(words[i]);
  }
}

std::wstring Desk::Text() const { return TextOf(edit_); }

bool Desk::ExpectText(const std::wstring& expected, const char* what) {
  WaitUntil([&] { return Text() == expected; });
  Pump(kSettle);
  const std::wstring seen = Text();
  if (seen != expected) {
    Fail("%s: the edit box holds %s, expected %s", what, Shown(seen).c_str(), Shown(expected).c_str());
    return false;
  }
  Pass("%s: %s", what, Shown(seen).c_str());
  return true;
}

bool Desk::HotKeyFree(ScanWord word) {
  UINT modifiers = 0;
  if (word & 0x0100) modifiers |= MOD_SHIFT;
  if (word & 0x0200) modifiers |= MOD_CONTROL;
  if (word & 0x0400) modifiers |= MOD_ALT;
  if (word & 0x0800) modifiers |= MOD_WIN;
  if (!RegisterHotKey(main_, kProbeHotKeyId, modifiers, word & 0xFF)) return false;
  UnregisterHotKey(main_, kProbeHotKeyId);
  return true;
}

bool Desk::ExpectBox(const std::wstring& title, const std::wstring& text) {
  WaitUntil([&] { return !boxes_.empty(); });
  if (boxes_.empty()) {
    Fail("no message box \"%s\" %s appeared", Utf8(title).c_str(), Shown(text).c_str());
    return false;
  }
  const SeenBox seen = boxes_.front();
  boxes_.erase(boxes_.begin());
  if (seen.title != title || seen.text != text) {
    Fail("message box \"%s\" %s, expected \"%s\" %s", Utf8(seen.title).c_str(), Shown(seen.text).c_str(),
         Utf8(title).c_str(), Shown(text).c_str());
    return false;
  }
  Pass("message box \"%s\" %s", Utf8(seen.title).c_str(), Shown(seen.text).c_str());
  if (!WaitUntil([&] { return !IsWindow(seen.window); })) {
    Fail("the message box did not close when answered");
    return false;
  }
  return true;
}

// ---- the engine --------------------------------------------------------------------------------

bool StartProgram(const std::wstring& name, PROCESS_INFORMATION* process) {
  const std::wstring folder = ProgramFolder();
  const std::wstring path = folder + name;
  std::wstring commandLine = L"\"" + path + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  return CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        process) != 0;
}

Engine::~Engine() {
  if (process_.hProcess != nullptr) CloseHandle(process_.hProcess);
  if (process_.hThread != nullptr) CloseHandle(process_.hThread);
}

bool Engine::Start() {
  if (!StartProgram(L"Tarvin.exe", &process_)) {
    Fail("Tarvin.exe did not start (error %lu)", GetLastError());
    return false;
  }
  return true;
}

bool Engine::Running() const {
  return process_.hProcess != nullptr && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND Engine::Window() const { return FindWindowW(Wide(kEngineClass), Wide(kEngineTitle)); }

bool Engine::WaitWindow() {
  if (desk_.WaitUntil([this] { return Window() != nullptr; })) return true;
  Fail("the engine's window \"%s\"/\"%s\" did not appear", Utf8(Wide(kEngineClass)).c_str(),
       Utf8(Wide(kEngineTitle)).c_str());
  return false;
}

bool Engine::Post(UINT message, WPARAM wParam, LPARAM lParam) {
  HWND window = Window();
  if (window == nullptr || !PostMessageW(window, message, wParam, lParam)) {
    Fail("could not post message %u to the engine's window", message);
    return false;
  }
  return true;
}

bool Engine::WaitExit(DWORD timeoutMs, DWORD* exitCode) {
  if (!desk_.WaitUntil([this] { return !Running(); }, timeoutMs)) return false;
  GetExitCodeProcess(process_.hProcess, exitCode);
  awaitedEnd_ = true;
  return true;
}

void Engine::Stop() {
  if (process_.hProcess == nullptr || awaitedEnd_) return;
  if (!Running()) {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    Fail("the engine ended by itself before the case was over (exit code %lu, 0x%08lX)", code, code);
    return;
  }
  DWORD code = 0;
  if (Post(WM_QUIT, 3) && WaitExit(kPatience, &code)) return;
  Fail("the engine did not end on WM_QUIT; terminated");
  TerminateProcess(process_.hProcess, 99);
  WaitForSingleObject(process_.hProcess, kPatience);
}

long Engine::StartAgain() {
  PROCESS_INFORMATION second{};
  if (!StartProgram(L"Tarvin.exe", &second)) {
    Fail("the second Tarvin.exe did not start (error %lu)", GetLastError());
    return -1;
  }
  long result = -1;
  if (desk_.WaitUntil([&] { return WaitForSingleObject(second.hProcess, 0) == WAIT_OBJECT_0; })) {
    DWORD code = 0;
    GetExitCodeProcess(second.hProcess, &code);
    result = static_cast<long>(code);
  } else {
    Fail("the second Tarvin.exe did not end; terminated");
    TerminateProcess(second.hProcess, 99);
  }
  CloseHandle(second.hProcess);
  CloseHandle(second.hThread);
  return result;
}

bool Engine::HintVisible() const {
  HWND window = Window();
  return window != nullptr && IsWindowVisible(window);
}

bool Engine::WaitHintShownAndGone() {
  if (!desk_.WaitUntil([this] { return HintVisible(); })) {
    Fail("the popup hint did not show");
    return false;
  }
  if (!desk_.WaitUntil([this] { return !HintVisible(); })) {
    Fail("the popup hint did not go away");
    return false;
  }
  return true;
}

// The shell accepts a change only to an icon it has; a change of nothing leaves the icon as it is.
bool Engine::TrayIconPresent() const {
  HWND window = Window();
  if (window == nullptr) return false;
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = window;
  data.uID = kTrayIconId;
  data.uFlags = 0;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != 0;
}

void EndSession(Desk& desk, Engine& engine) {
  engine.Stop();
  desk.Pump(kSettle);
  for (const SeenBox& box : desk.Boxes()) {
    Fail("unexpected message box \"%s\" %s", Utf8(box.title).c_str(), Shown(box.text).c_str());
  }
}

}  // namespace e2e
