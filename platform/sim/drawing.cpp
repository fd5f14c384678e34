// Screen metrics, fonts, text measuring, painting, bitmaps and icons of the simulated device.
//
// The font model. Text is measured and laid out with a plain fixed-pitch model of the system font,
// so that tests can work sizes out by hand:
// - A font has a character height c in pixels. A height h < 0 asks for c = -h; h > 0 asks for a
//   cell of h pixels, which gives the largest c whose line height is at most h; h = 0 is the system
//   font's own size, c = 12. c is kept within 1..1000.
// - The line height is c + c / 5 (the internal leading), truncating.
// - Every UTF-16 unit other than a line break takes one cell of c * 6 / 10 pixels, or c * 7 / 10
//   when the weight is 600 or more (bold), truncating and at least 1. Weight 0 stands for the
//   system font's weight, 400.
// - Line breaks: "\r\n", "\n\r", "\r" and "\n" each end one line, so a text with n breaks has n + 1
//   lines; the empty text has none and measures 0 x 0. With DT_SINGLELINE the breaks are no breaks
//   and take no room.
// - A text measures as wide as its widest line and lines x line height high. Measuring starts from an
//   empty rectangle and never wraps. Drawing with DT_WORDBREAK (without DT_SINGLELINE) wraps each
//   line at the rectangle's width after a blank; a word wider than the rectangle stands alone on its
//   line and runs over.
// - Placement: DT_CENTER centres the text block horizontally in the rectangle; DT_VCENTER centres it
//   vertically, with DT_SINGLELINE only (as the platform does); otherwise the text starts at the
//   rectangle's top-left corner. Divisions truncate.
//
// Windows with a WS_BORDER frame have a client area one pixel smaller on every side.
#include <algorithm>

#include "platform/platform.h"
#include "platform/sim/internal.h"
#include "platform/sim/ui_state.h"

namespace sim {

namespace {

constexpr int kDefaultCharHeight = 12;
constexpr int kMaxCharHeight = 1000;
constexpr int kSystemWeight = 400;
constexpr int kBoldWeight = 600;

struct Metrics {
  int charHeight;
  int weight;
  int advance;
  int lineHeight;
};

int LineHeightOf(int c) { return c + c / 5; }

Metrics MetricsOf(int charHeight, int weight) {
  Metrics m{charHeight, weight == 0 ? kSystemWeight : weight, 0, LineHeightOf(charHeight)};
  m.advance = std::max(1, charHeight * (m.weight >= kBoldWeight ? 7 : 6) / 10);
  return m;
}

int CharHeightFor(int height) {
  if (height == 0) return kDefaultCharHeight;
  if (height < 0) return height < -kMaxCharHeight ? kMaxCharHeight : -height;
  int c = 1;
  while (c < kMaxCharHeight && LineHeightOf(c + 1) <= height) ++c;
  return c;
}

bool IsBreak(WChar c) { return c == u'\r' || c == u'\n'; }

// Units that take room on a line (line breaks never do).
int Cells(const WChar* begin, const WChar* end) {
  int n = 0;
  for (const WChar* p = begin; p != end; ++p) n += IsBreak(*p) ? 0 : 1;
  return n;
}

// Calls f(begin, end) for each line of the text as its breaks divide it; with `singleLine` the
// whole text is one line.
template <typename F>
void ForEachLine(const WChar* text, bool singleLine, F f) {
  if (text == nullptr || *text == 0) return;
  const WChar* end = text;
  while (*end != 0) ++end;
  if (singleLine) {
    f(text, end);
    return;
  }
  const WChar* start = text;
  for (const WChar* p = text; p != end;) {
    if (!IsBreak(*p)) {
      ++p;
      continue;
    }
    f(start, p);
    // A pair of different break characters counts once.
    if (p + 1 != end && IsBreak(p[1]) && p[1] != p[0]) ++p;
    start = ++p;
  }
  f(start, end);
}

// Calls f(begin, end) for each line a hard line wraps into at `width` pixels.
template <typename F>
void Wrap(const WChar* begin, const WChar* end, int width, int advance, F f) {
  const WChar* pos = begin;
  for (;;) {
    const int room = std::max(0, width / advance);  // cells that fit
    if (end - pos <= room) {
      f(pos, end);
      return;
    }
    const WChar* cut = nullptr;
    for (const WChar* p = pos + room; p > pos; --p) {
      if (*p == u' ') {
        cut = p;
        break;
      }
    }
    if (cut == nullptr) {
      // A word longer than the line: it stands alone and runs over.
      cut = pos;
      while (cut != end && *cut != u' ') ++cut;
    }
    const WChar* lineEnd = cut;
    while (lineEnd != pos && lineEnd[-1] == u' ') --lineEnd;
    f(pos, lineEnd);
    pos = cut;
    while (pos != end && *pos == u' ') ++pos;
    if (pos == end) return;
  }
}

template <typename Handle>
Handle ToHandle(size_t index) {
  return reinterpret_cast<Handle>(index + 1);
}

template <typename Handle>
size_t FromHandle(Handle handle) {
  return reinterpret_cast<uintptr_t>(handle) - 1;
}

// A free slot of a pool, or a new one; freed slots keep their buffers.
template <typename Rec>
size_t TakeSlot(std::vector<Rec>& pool) {
  for (size_t i = 0; i < pool.size(); ++i) {
    if (!pool[i].live) return i;
  }
  pool.emplace_back();
  return pool.size() - 1;
}

template <typename Rec, typename Handle>
Rec* Live(std::vector<Rec>& pool, Handle handle) {
  if (handle == nullptr) return nullptr;
  size_t i = FromHandle(handle);
  return i < pool.size() && pool[i].live ? &pool[i] : nullptr;
}

struct ResourceBitmap {
  int id, width, height;
};
// The pictures every device program carries.
constexpr ResourceBitmap kBitmaps[] = {{1034, 150, 78}};
constexpr int kIconResources[] = {105};

SimDevice& D() { return SimDevice::Current(); }
SimDevice::Ui& U() { return D().UiState(); }

Metrics FontMetrics(plat::Font font) {
  const SimDevice::Ui::FontRec* f = Live(U().fonts, font);
  if (f == nullptr) return MetricsOf(kDefaultCharHeight, 0);
  return MetricsOf(f->charHeight, f->weight);
}

Canvas* CanvasOf(plat::Surface surface, plat::Window* window) {
  SimDevice::Ui::SurfaceRec* s = Live(U().surfaces, surface);
  if (s == nullptr) return nullptr;
  if (window != nullptr) *window = s->window;
  return &s->canvas;
}

PaintOpRec NewOp(PaintOp::Kind kind, const plat::Rect& rect) {
  PaintOpRec op{};
  op.kind = kind;
  op.rect = rect;
  op.color = plat::kColorDefault;
  return op;
}

}  // namespace

SimDevice::Ui::Ui() {
  fonts.reserve(64);
  surfaces.reserve(16);
  paints.reserve(64);
  icons.reserve(16);
  bitmaps.reserve(16);
  menus.reserve(8);
  tray.reserve(8);
  menuChoices.reserve(16);
  menuText.reserve(256);
  foregroundHistory.reserve(64);
}

std::vector<PaintOp> Canvas::Ops() const {
  std::vector<PaintOp> out;
  for (const PaintOpRec& r : ops) {
    PaintOp op{r.kind,
               r.rect,
               r.color,
               r.flags,
               r.transparent,
               r.charHeight,
               r.weight,
               text.substr(r.textOffset, r.textLength),
               text.substr(r.linesOffset, r.linesLength),
               r.bounds,
               r.resourceId};
    out.push_back(std::move(op));
  }
  return out;
}

LogEntry& SimDevice::LogEvent(LogKind kind, std::u16string_view s1, std::u16string_view s2) {
  LogEntry& e = AddLog(kind);
  e.s1Offset = AddString(s1, &e.s1Length);
  e.s2Offset = AddString(s2, &e.s2Length);
  return e;
}

std::vector<PaintOp> SimDevice::LastPaint(plat::Window window) const {
  for (const Ui::WindowPaint& p : ui_->paints) {
    if (p.window == window) return p.last.Ops();
  }
  return {};
}

LiveObjects SimDevice::CountLiveObjects() const {
  auto count = [](const auto& pool) {
    return static_cast<int>(std::count_if(pool.begin(), pool.end(), [](const auto& r) { return r.live; }));
  };
  return {count(ui_->fonts), count(ui_->surfaces), count(ui_->icons), count(ui_->bitmaps), count(ui_->menus)};
}

}  // namespace sim

namespace plat {

using sim::Canvas;
using sim::PaintOp;
using sim::PaintOpRec;

int SystemMetric(Metric metric) {
  const sim::SimOptions& o = sim::D().Options();
  switch (metric) {
    case Metric::ScreenWidth: return o.screenWidth;
    case Metric::ScreenHeight: return o.screenHeight;
    case Metric::CaptionHeight: return o.captionHeight;
    case Metric::IconSize: return o.iconSize;
    case Metric::SmallIconSize: return o.smallIconSize;
  }
  return 0;
}

int GetScreenWidth() { return sim::D().Options().screenWidth; }
int GetScreenHeight() { return sim::D().Options().screenHeight; }

Font CreateSystemFont(int height, int weight) {
  auto& fonts = sim::U().fonts;
  size_t i = sim::TakeSlot(fonts);
  fonts[i] = {true, sim::CharHeightFor(height), weight < 0 ? 0 : weight};
  return sim::ToHandle<Font>(i);
}

void DeleteFont(Font font) {
  if (auto* f = sim::Live(sim::U().fonts, font)) f->live = false;
}

bool MeasureText(Font font, const WChar* text, uint32_t flags, int* width, int* height) {
  if (sim::Live(sim::U().fonts, font) == nullptr || text == nullptr) return false;
  const sim::Metrics m = sim::FontMetrics(font);
  int w = 0, lines = 0;
  sim::ForEachLine(text, (flags & kDtSingleLine) != 0, [&](const WChar* b, const WChar* e) {
    w = std::max(w, sim::Cells(b, e) * m.advance);
    ++lines;
  });
  *width = w;
  *height = lines * m.lineHeight;
  return true;
}

bool GetClientArea(Window window, Rect* rect) {
  const auto* w = sim::D().Win(window);
  if (w == nullptr) return false;
  const int frame = (w->traits & kWindowBorder) != 0 ? 1 : 0;
  *rect = {0, 0, std::max(0, w->width - 2 * frame), std::max(0, w->height - 2 * frame)};
  return true;
}

Surface StartPaint(Window window) {
  if (sim::D().Win(window) == nullptr) return nullptr;
  auto& surfaces = sim::U().surfaces;
  size_t i = sim::TakeSlot(surfaces);
  auto& s = surfaces[i];
  if (s.canvas.ops.capacity() == 0) s.canvas.Reserve();
  s.live = true;
  s.window = window;
  s.size = 0;
  s.canvas.Clear();
  return sim::ToHandle<Surface>(i);
}

void FinishPaint(Window window, Surface surface) {
  auto* s = sim::Live(sim::U().surfaces, surface);
  if (s != nullptr && s->window == window && window != nullptr) {
    auto& paints = sim::U().paints;
    auto it = std::find_if(paints.begin(), paints.end(), [&](const auto& p) { return p.window == window; });
    if (it == paints.end()) {
      paints.push_back({window, {}});
      it = paints.end() - 1;
      it->last.Reserve();
    }
    std::swap(it->last, s->canvas);
    s->live = false;
  }
  ValidateWindow(window);
}

void FillArea(Surface surface, const Rect& rect, int sysColor) {
  Canvas* c = sim::CanvasOf(surface, nullptr);
  if (c == nullptr) return;
  PaintOpRec op = sim::NewOp(PaintOp::Kind::Fill, rect);
  op.color = sysColor;
  c->ops.push_back(op);
}

void PaintText(Surface surface, Font font, const WChar* text, const Rect& rect, uint32_t flags, int textSysColor,
               bool transparent) {
  Window window = nullptr;
  Canvas* c = sim::CanvasOf(surface, &window);
  if (c == nullptr || text == nullptr) return;
  const sim::Metrics m = sim::FontMetrics(font);
  PaintOpRec op = sim::NewOp(PaintOp::Kind::Text, rect);
  op.color = textSysColor;
  op.flags = flags;
  op.transparent = transparent;
  op.charHeight = m.charHeight;
  op.weight = m.weight;
  op.textOffset = static_cast<uint32_t>(c->text.size());
  c->text.append(text);
  op.textLength = static_cast<uint32_t>(c->text.size()) - op.textOffset;

  // Lay the text out into the pool, one line after the other.
  const bool single = (flags & kDtSingleLine) != 0;
  const bool wrap = !single && (flags & kDtWordBreak) != 0;
  op.linesOffset = static_cast<uint32_t>(c->text.size());
  int widest = 0, lines = 0;
  auto emit = [&](const WChar* b, const WChar* e) {
    if (lines > 0) c->text.push_back(u'\n');
    for (const WChar* p = b; p != e; ++p) {
      if (!sim::IsBreak(*p)) c->text.push_back(*p);
    }
    widest = std::max(widest, sim::Cells(b, e) * m.advance);
    ++lines;
  };
  sim::ForEachLine(text, single, [&](const WChar* b, const WChar* e) {
    if (wrap) {
      sim::Wrap(b, e, rect.right - rect.left, m.advance, emit);
    } else {
      emit(b, e);
    }
  });
  op.linesLength = static_cast<uint32_t>(c->text.size()) - op.linesOffset;

  const int height = lines * m.lineHeight;
  int left = rect.left, top = rect.top;
  if ((flags & kDtCenter) != 0) left += (rect.right - rect.left - widest) / 2;
  if ((flags & kDtVCenter) != 0 && single) top += (rect.bottom - rect.top - height) / 2;
  op.bounds = {left, top, left + widest, top + height};
  c->ops.push_back(op);

  const auto* w = sim::D().Win(window);
  sim::D().LogEvent(sim::LogKind::TextDrawn, std::u16string_view(c->text).substr(op.textOffset, op.textLength),
                    w != nullptr ? std::u16string_view(w->className) : std::u16string_view());
}

void DrawFrame(Surface surface, const Rect& rect) {
  if (Canvas* c = sim::CanvasOf(surface, nullptr)) c->ops.push_back(sim::NewOp(PaintOp::Kind::Frame, rect));
}

void DrawPicture(Surface surface, Picture bitmap, int x, int y) {
  Canvas* c = sim::CanvasOf(surface, nullptr);
  const auto* b = sim::Live(sim::U().bitmaps, bitmap);
  if (c == nullptr || b == nullptr) return;
  PaintOpRec op = sim::NewOp(PaintOp::Kind::Bitmap, {x, y, x + b->width, y + b->height});
  op.resourceId = b->resourceId;
  c->ops.push_back(op);
}

Picture LoadPicture(int resourceId) {
  for (const auto& r : sim::kBitmaps) {
    if (r.id != resourceId) continue;
    auto& bitmaps = sim::U().bitmaps;
    size_t i = sim::TakeSlot(bitmaps);
    bitmaps[i] = {true, r.id, r.width, r.height};
    return sim::ToHandle<Picture>(i);
  }
  return nullptr;
}

void FreePicture(Picture bitmap) {
  if (auto* b = sim::Live(sim::U().bitmaps, bitmap)) b->live = false;
}

Icon LoadProgramIcon(int resourceId, int size) {
  if (size <= 0 || std::find(std::begin(sim::kIconResources), std::end(sim::kIconResources), resourceId) ==
                       std::end(sim::kIconResources)) {
    return nullptr;
  }
  auto& icons = sim::U().icons;
  size_t i = sim::TakeSlot(icons);
  icons[i].live = true;
  icons[i].resourceId = resourceId;
  icons[i].size = size;
  icons[i].canvas.Clear();
  return sim::ToHandle<Icon>(i);
}

Surface CreateIconSurface(int size) {
  constexpr int kLargestIcon = 256;
  if (size <= 0 || size > kLargestIcon) return nullptr;
  auto& surfaces = sim::U().surfaces;
  size_t i = sim::TakeSlot(surfaces);
  auto& s = surfaces[i];
  if (s.canvas.ops.capacity() == 0) s.canvas.Reserve();
  s.live = true;
  s.window = nullptr;
  s.size = size;
  s.canvas.Clear();
  return sim::ToHandle<Surface>(i);
}

Icon IconFromSurface(Surface surface) {
  auto* s = sim::Live(sim::U().surfaces, surface);
  if (s == nullptr || s->window != nullptr) return nullptr;
  auto& icons = sim::U().icons;
  size_t i = sim::TakeSlot(icons);
  icons[i].live = true;
  icons[i].resourceId = 0;
  icons[i].size = s->size;
  std::swap(icons[i].canvas, s->canvas);
  s->canvas.Clear();
  s->live = false;
  return sim::ToHandle<Icon>(i);
}

void FreeIcon(Icon icon) {
  if (auto* i = sim::Live(sim::U().icons, icon)) i->live = false;
}

}  // namespace plat
