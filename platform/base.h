// What every part of the platform interface shares: text units, handles, rectangles, the clock and
// the program's entry point.
//
// Program code talks to the device only through the platform headers, named after what the caller
// relies on. Two backends implement them: platform/sim (a simulated handheld on the build host) and
// platform/win32 (the real thing). No name here is one that <windows.h> defines, so Windows-side
// code can include a program header. Strings are UTF-16 units in fixed, terminated buffers.
#pragma once

#include <cstddef>
#include <cstdint>

namespace plat {

using WChar = char16_t;

struct WindowTag;
using Window = WindowTag*;  // nullptr: no window
struct ProcessTag;
using Process = ProcessTag*;  // nullptr: no process
struct FileListTag;
using FileList = FileListTag*;
struct FontTag;
using Font = FontTag*;
struct SurfaceTag;
using Surface = SurfaceTag*;  // somewhere to draw: a window's client area or an icon canvas
struct IconTag;
using Icon = IconTag*;
struct PictureTag;
using Picture = PictureTag*;
struct MenuTag;
using Menu = MenuTag*;

struct Rect {
  int left, top, right, bottom;
};

// ---- program entry -----------------------------------------------------------------------------
// Each device program defines it. A backend whose platform starts programs by itself (Windows)
// calls it at start, and its result becomes the program's exit code.
int ProgramMain();

// ---- clock -------------------------------------------------------------------------------------
// Milliseconds since the device started; differences are taken modulo 2^32.
uint32_t TickCount();
// Blocks the calling program; other programs run meanwhile. Its own messages wait.
void SleepFor(uint32_t ms);

}  // namespace plat
