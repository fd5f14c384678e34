#include "layoutfiles/layout_error_box.h"

namespace {

constexpr uint32_t kReaderBoxFlags = plat::kMbIconHand | plat::kMbSetForeground | plat::kMbTopmost;

}  // namespace

void ShowLayoutError(const LayoutError& error) {
  if (error.box != PlainErrorBox && error.box != ReaderErrorBox) return;
  WChar text[kLayoutErrorTextLength];
  FormatLayoutError(error, text, kLayoutErrorTextLength);
  if (error.box == PlainErrorBox) {
    plat::ShowMessageBox(text, u"Error", plat::kMbOk);
  } else {
    plat::ShowMessageBox(text, u"Error reading layout", kReaderBoxFlags);
  }
}
