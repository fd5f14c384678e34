// Screen size, resolution and metrics over Win32.
#include "platform/win32/internal.h"

namespace win32 {

namespace {

int ScreenCaps(int index) {
  HDC dc = ::GetDC(nullptr);
  if (dc == nullptr) return 0;
  const int value = ::GetDeviceCaps(dc, index);
  ::ReleaseDC(nullptr, dc);
  return value;
}

// The handheld shell's font size query, where its library exists.
using SHGetUIMetricsProc = HRESULT(WINAPI*)(int metric, void* buffer, DWORD bufferSize, DWORD* required);
constexpr int kFontSizeInPixels = 2;  // SHUIM_FONTSIZE_PIXEL

}  // namespace

}  // namespace win32

namespace plat {

int GetScreenDpiY() { return win32::ScreenCaps(LOGPIXELSY); }

bool GetSystemFontPixels(uint32_t* pixels) {
  HMODULE shell = win32::LoadSystemLibrary(L"aygshell.dll");
  if (shell == nullptr) return false;
  auto query =
      reinterpret_cast<win32::SHGetUIMetricsProc>(reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetUIMetrics")));
  bool answered = false;
  if (query != nullptr) {
    DWORD value = *pixels;
    DWORD required = 0;
    answered = SUCCEEDED(query(win32::kFontSizeInPixels, &value, sizeof value, &required));
    if (answered) *pixels = value;
  }
  ::FreeLibrary(shell);
  return answered;
}

int SystemMetric(Metric metric) {
  switch (metric) {
    case Metric::ScreenWidth: return ::GetSystemMetrics(SM_CXSCREEN);
    case Metric::ScreenHeight: return ::GetSystemMetrics(SM_CYSCREEN);
    case Metric::CaptionHeight: return ::GetSystemMetrics(SM_CYCAPTION);
    case Metric::IconSize: return ::GetSystemMetrics(SM_CXICON);
    case Metric::SmallIconSize: return ::GetSystemMetrics(SM_CXSMICON);
  }
  return 0;
}

int GetScreenWidth() { return win32::ScreenCaps(HORZRES); }
int GetScreenHeight() { return win32::ScreenCaps(VERTRES); }

}  // namespace plat
