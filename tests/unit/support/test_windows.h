// Windows for tests that need one of their own on the simulated device.
#pragma once

#include "platform/windowing.h"

namespace testing_support {

// A top-level window of a registered class.
inline plat::Window MakeWindow(const char16_t* className, const char16_t* title, uint32_t traits = 0, int x = 0,
                               int y = 0, int width = 0, int height = 0, void* context = nullptr) {
  plat::WindowSpec spec{};
  spec.className = className;
  spec.title = title;
  spec.traits = traits;
  spec.x = x;
  spec.y = y;
  spec.width = width;
  spec.height = height;
  spec.context = context;
  return plat::NewWindow(spec);
}

// A window procedure that leaves everything to the platform.
inline intptr_t PlainProc(void*, plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  return plat::DefaultWindowProc(window, message, wParam, lParam);
}

}  // namespace testing_support
