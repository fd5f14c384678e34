// Fonts, text, painting, pictures and icons with GDI.
#include "platform/win32/internal.h"

namespace win32 {

namespace {

// A surface is a window being painted or an icon being drawn. Few are ever open at once (a paint
// inside the about window's paint at most), so they come from a small fixed pool.
constexpr int kMaxSurfaces = 8;
constexpr int kLargestIcon = 256;

struct SurfaceRec {
  bool live;
  HDC dc;
  HWND window;  // nullptr for an icon canvas
  PAINTSTRUCT paint;
  HBITMAP color;  // icon canvas: the picture and its all-opaque mask
  HBITMAP mask;
  HGDIOBJ firstBitmap;  // what the memory context held before the picture
};
SurfaceRec gSurfaces[kMaxSurfaces];

SurfaceRec* NewSurface() {
  for (SurfaceRec& s : gSurfaces) {
    if (!s.live) {
      s = SurfaceRec{};
      s.live = true;
      return &s;
    }
  }
  return nullptr;
}

SurfaceRec* Live(plat::Surface surface) {
  auto* s = reinterpret_cast<SurfaceRec*>(surface);
  for (SurfaceRec& r : gSurfaces) {
    if (&r == s) return r.live ? s : nullptr;
  }
  return nullptr;
}

plat::Surface ToSurface(SurfaceRec* s) { return reinterpret_cast<plat::Surface>(s); }
HFONT Hfont(plat::Font font) { return reinterpret_cast<HFONT>(font); }

RECT ToRect(const plat::Rect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

}  // namespace

}  // namespace win32

namespace plat {

using win32::W;

// The system font's face, character set and pitch, at another size and weight. Its width is left
// to the font mapper, or the letters would keep the stock font's width at every height.
Font CreateSystemFont(int height, int weight) {
  LOGFONTW font{};
  if (::GetObjectW(::GetStockObject(SYSTEM_FONT), sizeof font, &font) == 0) return nullptr;
  font.lfHeight = height;
  font.lfWidth = 0;
  if (weight > 0) font.lfWeight = weight;
  return reinterpret_cast<Font>(::CreateFontIndirectW(&font));
}

void DeleteFont(Font font) {
  if (font != nullptr) ::DeleteObject(win32::Hfont(font));
}

bool MeasureText(Font font, const WChar* text, uint32_t flags, int* width, int* height) {
  if (font == nullptr || text == nullptr) return false;
  HDC dc = ::GetDC(nullptr);
  if (dc == nullptr) return false;
  HGDIOBJ old = ::SelectObject(dc, win32::Hfont(font));
  RECT r{0, 0, 0, 0};
  const int drawn = ::DrawTextW(dc, W(text), -1, &r, flags | DT_CALCRECT);
  ::SelectObject(dc, old);
  ::ReleaseDC(nullptr, dc);
  if (drawn == 0 && text[0] != 0) return false;
  *width = r.right - r.left;
  *height = r.bottom - r.top;
  return true;
}

bool GetClientArea(Window window, Rect* rect) {
  RECT r;
  if (window == nullptr || !::GetClientRect(win32::Hwnd(window), &r)) return false;
  *rect = {r.left, r.top, r.right, r.bottom};
  return true;
}

Surface StartPaint(Window window) {
  if (window == nullptr) return nullptr;
  win32::SurfaceRec* s = win32::NewSurface();
  if (s == nullptr) return nullptr;
  s->window = win32::Hwnd(window);
  s->dc = ::BeginPaint(s->window, &s->paint);
  if (s->dc == nullptr) {
    s->live = false;
    return nullptr;
  }
  return win32::ToSurface(s);
}

void FinishPaint(Window window, Surface surface) {
  win32::SurfaceRec* s = win32::Live(surface);
  if (s != nullptr && s->window != nullptr && s->window == win32::Hwnd(window)) {
    ::EndPaint(s->window, &s->paint);
    s->live = false;
    return;
  }
  // Painting that never started still counts as done.
  ValidateWindow(window);
}

void FillArea(Surface surface, const Rect& rect, int sysColor) {
  win32::SurfaceRec* s = win32::Live(surface);
  if (s == nullptr) return;
  const RECT r = win32::ToRect(rect);
  ::FillRect(s->dc, &r, ::GetSysColorBrush(sysColor == kColorDefault ? COLOR_WINDOW : sysColor));
}

void PaintText(Surface surface, Font font, const WChar* text, const Rect& rect, uint32_t flags, int textSysColor,
               bool transparent) {
  win32::SurfaceRec* s = win32::Live(surface);
  if (s == nullptr || text == nullptr) return;
  const int saved = ::SaveDC(s->dc);
  if (font != nullptr) ::SelectObject(s->dc, win32::Hfont(font));
  if (textSysColor != kColorDefault) ::SetTextColor(s->dc, ::GetSysColor(textSysColor));
  ::SetBkMode(s->dc, transparent ? TRANSPARENT : OPAQUE);
  RECT r = win32::ToRect(rect);
  ::DrawTextW(s->dc, W(text), -1, &r, flags & ~static_cast<uint32_t>(DT_CALCRECT));
  ::RestoreDC(s->dc, saved);
}

void DrawFrame(Surface surface, const Rect& rect) {
  win32::SurfaceRec* s = win32::Live(surface);
  if (s == nullptr) return;
  HGDIOBJ old = ::SelectObject(s->dc, ::GetStockObject(NULL_BRUSH));
  ::Rectangle(s->dc, rect.left, rect.top, rect.right, rect.bottom);
  ::SelectObject(s->dc, old);
}

void DrawPicture(Surface surface, Picture picture, int x, int y) {
  win32::SurfaceRec* s = win32::Live(surface);
  if (s == nullptr || picture == nullptr) return;
  HBITMAP bitmap = reinterpret_cast<HBITMAP>(picture);
  BITMAP info;
  if (::GetObjectW(bitmap, sizeof info, &info) == 0) return;
  HDC source = ::CreateCompatibleDC(s->dc);
  if (source == nullptr) return;
  HGDIOBJ old = ::SelectObject(source, bitmap);
  ::BitBlt(s->dc, x, y, info.bmWidth, info.bmHeight, source, 0, 0, SRCCOPY);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

Picture LoadPicture(int resourceId) {
  return reinterpret_cast<Picture>(::LoadBitmapW(win32::Instance(), MAKEINTRESOURCEW(resourceId)));
}

void FreePicture(Picture picture) {
  if (picture != nullptr) ::DeleteObject(reinterpret_cast<HBITMAP>(picture));
}

// The icon resource's picture closest to the size asked for, scaled to it.
Icon LoadProgramIcon(int resourceId, int size) {
  if (size <= 0) return nullptr;
  return reinterpret_cast<Icon>(
      ::LoadImageW(win32::Instance(), MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
}

Surface CreateIconSurface(int size) {
  if (size <= 0 || size > win32::kLargestIcon) return nullptr;
  win32::SurfaceRec* s = win32::NewSurface();
  if (s == nullptr) return nullptr;
  HDC screen = ::GetDC(nullptr);
  if (screen != nullptr) {
    s->dc = ::CreateCompatibleDC(screen);
    s->color = ::CreateCompatibleBitmap(screen, size, size);
    ::ReleaseDC(nullptr, screen);
  }
  s->mask = ::CreateBitmap(size, size, 1, 1, nullptr);
  if (s->dc == nullptr || s->color == nullptr || s->mask == nullptr) {
    if (s->color != nullptr) ::DeleteObject(s->color);
    if (s->mask != nullptr) ::DeleteObject(s->mask);
    if (s->dc != nullptr) ::DeleteDC(s->dc);
    s->live = false;
    return nullptr;
  }
  // A mask of all zero bits: every pixel of the picture shows.
  s->firstBitmap = ::SelectObject(s->dc, s->mask);
  ::PatBlt(s->dc, 0, 0, size, size, BLACKNESS);
  ::SelectObject(s->dc, s->color);
  return win32::ToSurface(s);
}

Icon IconFromSurface(Surface surface) {
  win32::SurfaceRec* s = win32::Live(surface);
  if (s == nullptr || s->window != nullptr) return nullptr;
  ::SelectObject(s->dc, s->firstBitmap);
  ICONINFO info{};
  info.fIcon = TRUE;
  info.hbmMask = s->mask;
  info.hbmColor = s->color;
  HICON icon = ::CreateIconIndirect(&info);
  ::DeleteObject(s->color);
  ::DeleteObject(s->mask);
  ::DeleteDC(s->dc);
  s->live = false;
  return reinterpret_cast<Icon>(icon);
}

void FreeIcon(Icon icon) {
  if (icon != nullptr) ::DestroyIcon(reinterpret_cast<HICON>(icon));
}

}  // namespace plat
