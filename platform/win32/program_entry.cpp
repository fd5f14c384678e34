// The Windows entry point of a device program: it records the program's module and runs the
// program. The device programs take no arguments.
#include "platform/win32/internal.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
  win32::SetInstance(instance);
  return plat::ProgramMain();
}
