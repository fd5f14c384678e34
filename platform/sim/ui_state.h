// What the simulated device keeps of drawing, icons, the tray and menus (drawing.cpp, shell.cpp).
//
// Every object lives in a pool whose freed slots are reused and whose buffers keep their capacity,
// so a program that paints or measures the same way again allocates nothing on the host.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/sim/device.h"

namespace sim {

// One drawing operation as recorded; its strings sit in the owning canvas's text pool.
struct PaintOpRec {
  PaintOp::Kind kind;
  plat::Rect rect;
  int color;
  uint32_t flags;
  bool transparent;
  int charHeight;
  int weight;
  uint32_t textOffset, textLength;
  uint32_t linesOffset, linesLength;
  plat::Rect bounds;
  int resourceId;
};

// The operations of one paint or one icon picture.
struct Canvas {
  std::vector<PaintOpRec> ops;
  std::u16string text;
  void Reserve() {
    ops.reserve(32);
    text.reserve(1024);
  }
  void Clear() {
    ops.clear();
    text.clear();
  }
  std::vector<PaintOp> Ops() const;
};

struct SimDevice::Ui {
  struct FontRec {
    bool live;
    int charHeight;
    int weight;
  };
  struct SurfaceRec {
    bool live;
    plat::Window window;  // the window being painted; nullptr for an icon canvas
    int size;             // icon canvases: the side
    Canvas canvas;
  };
  struct WindowPaint {
    plat::Window window;
    Canvas last;  // what the last finished paint drew
  };
  struct IconRec {
    bool live;
    int resourceId;  // 0: drawn on a canvas
    int size;
    Canvas canvas;
  };
  struct BitmapRec {
    bool live;
    int resourceId;
    int width, height;
  };
  struct MenuItem {
    uint32_t id;
    bool separator;
    std::u16string text;
  };
  struct MenuRec {
    bool live;
    std::vector<MenuItem> items;
  };
  struct TrayRec {
    bool live;
    uint64_t serial;  // the order the icons were added in
    plat::Window window;
    uint32_t id;
    uint32_t callbackMessage;
    plat::Icon icon;
    std::u16string tip;
  };

  Ui();

  std::vector<FontRec> fonts;
  std::vector<SurfaceRec> surfaces;
  std::vector<WindowPaint> paints;
  std::vector<IconRec> icons;
  std::vector<BitmapRec> bitmaps;
  std::vector<MenuRec> menus;
  std::vector<TrayRec> tray;  // a pool: the shown icons are the live ones, by serial
  uint64_t traySerial = 0;
  // The live tray icons, oldest first.
  std::vector<const TrayRec*> TrayInOrder() const;
  struct MenuChoice {
    uint32_t id;
    uint32_t afterMs;
  };
  std::vector<MenuChoice> menuChoices;
  std::u16string menuText;  // scratch for the menu log line
  // Windows that were in the foreground, oldest first: when the foreground window goes, the one
  // before it that still exists comes back, as the platform activates the next window.
  std::vector<plat::Window> foregroundHistory;

  void NoteForeground(plat::Window window);
  plat::Window PreviousForeground(const SimDevice& device, plat::Window leaving) const;
};

}  // namespace sim
