// The screen, fonts, painting, pictures and icons.
#pragma once

#include "platform/base.h"

namespace plat {

// Vertical pixels per logical inch of the screen.
int GetScreenDpiY();
// The shell's system font height in pixels, where the optional shell library provides it; false
// when it does not (then `pixels` is left as it was).
bool GetSystemFontPixels(uint32_t* pixels);

enum class Metric { ScreenWidth, ScreenHeight, CaptionHeight, IconSize, SmallIconSize };
int SystemMetric(Metric metric);
// The screen's size in pixels.
int GetScreenWidth();
int GetScreenHeight();

// System colours by index.
constexpr int kColorActiveCaption = 2;
constexpr int kColorCaptionText = 9;
constexpr int kColorInfoText = 23;
constexpr int kColorInfoBk = 24;
constexpr int kColorDefault = -1;  // the surface's default text colour

// Text layout flags.
constexpr uint32_t kDtCenter = 0x1;
constexpr uint32_t kDtVCenter = 0x4;
constexpr uint32_t kDtWordBreak = 0x10;
constexpr uint32_t kDtSingleLine = 0x20;
constexpr uint32_t kDtCalcRect = 0x400;

// The system font with another height (negative: character height; positive: cell height; 0: the
// default height) and weight (0 keeps the system font's; 700 is bold).
Font CreateSystemFont(int height, int weight);
void DeleteFont(Font font);
// The size `text` needs when drawn with `flags`, measured from an empty rectangle.
bool MeasureText(Font font, const WChar* text, uint32_t flags, int* width, int* height);

bool GetClientArea(Window window, Rect* rect);
// Painting of a window, between the start and the end of its kWmPaint; ending validates it.
Surface StartPaint(Window window);
void FinishPaint(Window window, Surface surface);
void FillArea(Surface surface, const Rect& rect, int sysColor);
void PaintText(Surface surface, Font font, const WChar* text, const Rect& rect, uint32_t flags, int textSysColor,
               bool transparent);
// An unfilled rectangle in the default pen.
void DrawFrame(Surface surface, const Rect& rect);
void DrawPicture(Surface surface, Picture picture, int x, int y);

// Pictures and icons among the program's resources.
Picture LoadPicture(int resourceId);
void FreePicture(Picture picture);
Icon LoadProgramIcon(int resourceId, int size);
// A size x size canvas that becomes an icon.
Surface CreateIconSurface(int size);
// Makes the canvas an icon and frees the canvas; nullptr when it cannot.
Icon IconFromSurface(Surface surface);
void FreeIcon(Icon icon);

}  // namespace plat
