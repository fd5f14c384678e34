#include "engine/tray.h"

#include "layoutfiles/program_folder.h"
#include "layoutfiles/text_cut.h"
#include "platform/drawing.h"
#include "platform/files.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/wtext.h"

namespace {

constexpr size_t kTipLength = 64;  // the shell's tip: 63 characters and the terminator

}  // namespace

plat::Icon RenderTrayIcon(EngineState& engine) {
  WChar letters[3];
  // Two units, or one when the second would be half a character.
  wtext::CopyN(letters, 3, engine.hintText, WholeCharacterLength(engine.hintText, 2));
  const int n = plat::SystemMetric(plat::Metric::SmallIconSize);
  if (letters[0] == 0) return plat::LoadProgramIcon(kProgramIconId, n);

  plat::Surface canvas = plat::CreateIconSurface(n);
  if (canvas == nullptr) return nullptr;
  plat::FillArea(canvas, plat::Rect{0, 0, n, n}, plat::kColorActiveCaption);
  // The largest system font whose two letters fit; none at all leaves a plain coloured square.
  for (int height = n; height >= 0; --height) {
    plat::Font font = plat::CreateSystemFont(height, 0);
    int width = 0, textHeight = 0;
    const bool fits = plat::MeasureText(font, letters, plat::kDtCalcRect | plat::kDtSingleLine, &width, &textHeight) &&
                      width < n && textHeight <= n;
    if (fits) {
      plat::PaintText(canvas, font, letters, plat::Rect{1, 0, n, n},
                      plat::kDtCenter | plat::kDtVCenter | plat::kDtSingleLine, plat::kColorCaptionText, true);
    }
    plat::DeleteFont(font);
    if (fits) break;
  }
  return plat::IconFromSurface(canvas);
}

void SetTrayIcon(EngineState& engine, int operation, plat::Icon icon) {
  WChar tip[kTipLength];
  CopyWholeCharacters(tip, kTipLength, engine.hintText);
  if (operation == kNimAdd) {
    plat::AddTrayIcon(engine.window, kTrayIconId, MsgTrayNotify, icon, tip);
  } else {
    plat::DeleteTrayIcon(engine.window, kTrayIconId);
  }
  // An icon lives until the tray lets go of it: deleted, or replaced by the next one.
  if (engine.lastTrayIcon != nullptr && engine.lastTrayIcon != icon) plat::FreeIcon(engine.lastTrayIcon);
  engine.lastTrayIcon = icon;
}

void RemoveTrayIcon(EngineState& engine) { SetTrayIcon(engine, kNimDelete, nullptr); }

namespace {

// The settings utility's path where it is installed; a path that does not fit counts as missing.
bool InstalledSettings(WChar (&path)[kMaxPathLength]) {
  return ProgramFolderPath(kSettingsProgram, path, kMaxPathLength) && plat::FileExists(path);
}

}  // namespace

uint32_t ShowTrayMenu(EngineState& engine) {
  plat::Menu menu = plat::NewPopupMenu();
  if (menu == nullptr) return 0;
  // Settings is offered only where it can be started.
  WChar settings[kMaxPathLength];
  const bool hasSettings = InstalledSettings(settings);

  plat::AppendMenuItem(menu, IdAbout, u"About");
  plat::AppendMenuItem(menu, IdNextLayout, u"Next layout");
  plat::AppendMenuSeparator(menu);
  if (hasSettings) plat::AppendMenuItem(menu, IdSettings, u"Settings");
  plat::AppendMenuItem(menu, IdUnload, u"Unload Tarvin");

  using plat::Metric;
  const int x = plat::SystemMetric(Metric::ScreenWidth) - plat::SystemMetric(Metric::IconSize);
  const int y = plat::SystemMetric(Metric::ScreenHeight) - plat::SystemMetric(Metric::CaptionHeight);
  const uint32_t choice = plat::ShowPopupMenu(menu, plat::MenuAnchor::BottomRight, x, y, engine.window);
  plat::FreeMenu(menu);
  // Settings counts only where it was offered.
  return choice == IdSettings && !hasSettings ? 0 : choice;
}

void StartSettings() {
  WChar settings[kMaxPathLength];
  if (!InstalledSettings(settings)) return;
  if (plat::Process process = plat::StartProcess(settings, nullptr)) plat::CloseProcess(process);
}
