// The shell of the simulated device: the tray, popup menus whose choice the driver scripts, and the
// foreground window coming back when the one in front goes.
#include <algorithm>

#include "platform/platform.h"
#include "platform/sim/internal.h"
#include "platform/sim/ui_state.h"

namespace sim {

namespace {
constexpr size_t kForegroundHistory = 64;

SimDevice& D() { return SimDevice::Current(); }
SimDevice::Ui& U() { return D().UiState(); }

SimDevice::Ui::MenuRec* LiveMenu(plat::Menu menu) {
  auto& menus = U().menus;
  size_t i = reinterpret_cast<uintptr_t>(menu) - 1;
  return menu != nullptr && i < menus.size() && menus[i].live ? &menus[i] : nullptr;
}
}  // namespace

void SimDevice::Ui::NoteForeground(plat::Window window) {
  if (window == nullptr) return;
  std::erase(foregroundHistory, window);
  if (foregroundHistory.size() == kForegroundHistory) foregroundHistory.erase(foregroundHistory.begin());
  foregroundHistory.push_back(window);
}

plat::Window SimDevice::Ui::PreviousForeground(const SimDevice& device, plat::Window leaving) const {
  for (auto it = foregroundHistory.rbegin(); it != foregroundHistory.rend(); ++it) {
    if (*it == leaving) continue;
    const WindowRec* w = device.Win(*it);
    if (w != nullptr && w->visible) return *it;
  }
  return nullptr;
}

void SimDevice::ForegroundGone(plat::Window window) {
  if (foreground_ == window) foreground_ = ui_->PreviousForeground(*this, window);
}

void SimDevice::QueueMenuChoice(uint32_t id, uint32_t afterMs) { ui_->menuChoices.push_back({id, afterMs}); }

std::vector<const SimDevice::Ui::TrayRec*> SimDevice::Ui::TrayInOrder() const {
  std::vector<const TrayRec*> out;
  for (const TrayRec& t : tray) {
    if (t.live) out.push_back(&t);
  }
  std::sort(out.begin(), out.end(), [](const TrayRec* a, const TrayRec* b) { return a->serial < b->serial; });
  return out;
}

bool SimDevice::TapTrayIcon(size_t index) {
  const auto shown = ui_->TrayInOrder();
  if (index >= shown.size()) return false;
  const Ui::TrayRec& icon = *shown[index];
  const WindowRec* w = Win(icon.window);
  if (w == nullptr) return false;
  // The shell posts the tap; it is the user's doing, not a program's post, so it is not logged.
  return Enqueue({icon.window, icon.callbackMessage, icon.id, static_cast<intptr_t>(plat::kWmLButtonDown)});
}

std::vector<TrayIconInfo> SimDevice::TrayIcons() const {
  std::vector<TrayIconInfo> out;
  for (const Ui::TrayRec* shown : ui_->TrayInOrder()) {
    const Ui::TrayRec& t = *shown;
    TrayIconInfo info{t.window, t.id, t.callbackMessage, t.tip, false, 0, 0, {}};
    size_t i = reinterpret_cast<uintptr_t>(t.icon) - 1;
    if (t.icon != nullptr && i < ui_->icons.size() && ui_->icons[i].live) {
      const Ui::IconRec& icon = ui_->icons[i];
      info.iconAlive = true;
      info.iconResource = icon.resourceId;
      info.iconSize = icon.size;
      info.iconPicture = icon.canvas.Ops();
    }
    out.push_back(std::move(info));
  }
  return out;
}

}  // namespace sim

namespace plat {

bool AddTrayIcon(Window window, uint32_t id, uint32_t callbackMessage, Icon icon, const WChar* tip) {
  sim::SimDevice& d = sim::D();
  if (d.Win(window) == nullptr) return false;
  sim::SimDevice::Ui& ui = sim::U();
  for (const auto& t : ui.tray) {
    if (t.live && t.window == window && t.id == id) return false;
  }
  // Freed records keep their tip's buffer: showing a hint again allocates nothing.
  auto slot = std::find_if(ui.tray.begin(), ui.tray.end(), [](const auto& t) { return !t.live; });
  if (slot == ui.tray.end()) {
    ui.tray.emplace_back();
    slot = ui.tray.end() - 1;
    slot->tip.reserve(128);
  }
  slot->live = true;
  slot->serial = ++ui.traySerial;
  slot->window = window;
  slot->id = id;
  slot->callbackMessage = callbackMessage;
  slot->icon = icon;
  slot->tip.assign(tip != nullptr ? tip : u"");
  d.LogEvent(sim::LogKind::TrayAdd, slot->tip);
  return true;
}

bool DeleteTrayIcon(Window window, uint32_t id) {
  for (auto& t : sim::U().tray) {
    if (!t.live || t.window != window || t.id != id) continue;
    t.live = false;
    sim::D().LogEvent(sim::LogKind::TrayDelete, {});
    return true;
  }
  return false;
}

Menu NewPopupMenu() {
  auto& menus = sim::U().menus;
  size_t i = 0;
  while (i < menus.size() && menus[i].live) ++i;
  if (i == menus.size()) menus.emplace_back();
  menus[i].live = true;
  menus[i].items.clear();
  return reinterpret_cast<Menu>(i + 1);
}

bool AppendMenuItem(Menu menu, uint32_t id, const WChar* text) {
  auto* m = sim::LiveMenu(menu);
  if (m == nullptr) return false;
  m->items.push_back({id, false, text != nullptr ? text : u""});
  return true;
}

bool AppendMenuSeparator(Menu menu) {
  auto* m = sim::LiveMenu(menu);
  if (m == nullptr) return false;
  m->items.push_back({0, true, u"-"});
  return true;
}

// The user's choice was scripted in advance; one that is not an item of this menu (or none) picks
// nothing, as a tap outside the menu does. The menu stays open, modal, until the choice is made.
uint32_t ShowPopupMenu(Menu menu, MenuAnchor, int x, int y, Window) {
  auto* m = sim::LiveMenu(menu);
  if (m == nullptr) return 0;
  sim::SimDevice::Ui& ui = sim::U();
  uint32_t choice = 0;
  uint32_t openMs = 0;
  if (!ui.menuChoices.empty()) {
    const sim::SimDevice::Ui::MenuChoice wanted = ui.menuChoices.front();
    ui.menuChoices.erase(ui.menuChoices.begin());
    for (const auto& item : m->items) {
      if (!item.separator && item.id == wanted.id) choice = wanted.id;
    }
    openMs = wanted.afterMs;
  }
  ui.menuText.clear();
  for (size_t k = 0; k < m->items.size(); ++k) {
    if (k > 0) ui.menuText.push_back(u'\n');
    ui.menuText.append(m->items[k].text);
  }
  sim::LogEntry& e = sim::D().LogEvent(sim::LogKind::Menu, ui.menuText);
  e.a = choice;
  e.b = static_cast<uint32_t>(x);
  e.c = y;
  if (openMs > 0) sim::D().ModalWait(openMs);
  return choice;
}

void FreeMenu(Menu menu) {
  if (auto* m = sim::LiveMenu(menu)) {
    m->live = false;
    m->items.clear();
  }
}

}  // namespace plat
