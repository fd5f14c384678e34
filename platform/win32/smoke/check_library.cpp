// The check library: a DLL linked with the backend and its library entry, loaded by the platform
// check program, so that a library's windows and resources are seen to be the library's own.
#include "platform/win32/smoke/check_library.h"

namespace {

intptr_t LibraryProc(void* context, plat::Window window, uint32_t message, uintptr_t wParam, intptr_t lParam) {
  auto* report = static_cast<LibraryReport*>(context);
  if (report != nullptr && message == plat::kWmCreate) report->createContext = context;
  if (report != nullptr && message == plat::kWmDestroy) report->destroyContext = context;
  if (message == kLibraryMessage) return static_cast<intptr_t>(wParam) * lParam;
  return plat::DefaultWindowProc(window, message, wParam, lParam);
}

}  // namespace

extern "C" __declspec(dllexport) HWND MakeLibraryWindow(LibraryReport* report) {
  *report = LibraryReport{};
  plat::Icon icon = plat::LoadProgramIcon(kLibraryIconId, 16);
  report->ownIcon = icon != nullptr;
  plat::FreeIcon(icon);
  plat::Picture picture = plat::LoadPicture(kProgramPictureId);
  report->programPicture = picture != nullptr;
  plat::FreePicture(picture);

  if (!plat::RegisterWindowClass(kLibraryClass, LibraryProc)) return nullptr;
  plat::WindowSpec spec{};
  spec.className = kLibraryClass;
  spec.title = u"Library Window";
  spec.context = report;
  return win32::Hwnd(plat::NewWindow(spec));
}
