// Checks of the Win32 backend that need a real Windows (Wine will do): buffer bounds of the text
// and path calls, files, processes with their command lines, window procedures by class with each
// window's context, child windows, window traits, exact window lookup, menus, hot keys, named
// events, and a library that links the backend. smoke.sh runs it; it prints each failure and
// returns how many there were.
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <string>

#include "platform/win32/internal.h"
#include "platform/win32/smoke/check_library.h"
#include "platform/wtext.h"

namespace {

int gFailures = 0;

void Check(bool ok, const char* what) {
  if (!ok) {
    std::printf("FAILED: %s\n", what);
    ++gFailures;
  }
}

std::u16string Str(const plat::WChar* s) { return s; }

void CheckText() {
  struct Case {
    const char* source;
    size_t capacity;
    bool ok;
    const char16_t* wide;
  };
  const Case toWide[] = {
      {"abc", 4, true, u"abc"},
      {"abc", 3, false, u""},  // no room for the terminator
      {"", 1, true, u""},
  };
  for (const Case& c : toWide) {
    plat::WChar buffer[8];
    for (auto& u : buffer) u = u'#';
    Check(plat::AnsiToWide(c.source, buffer, c.capacity) == c.ok && Str(buffer) == c.wide && buffer[c.capacity] == u'#',
          c.source);
  }

  char narrow[8];
  std::memset(narrow, '#', sizeof narrow);
  Check(plat::WideToAnsi(u"abc", narrow, 4) && std::strcmp(narrow, "abc") == 0, "WideToAnsi fits");
  std::memset(narrow, '#', sizeof narrow);
  Check(!plat::WideToAnsi(u"abcd", narrow, 4) && narrow[0] == 0 && narrow[4] == '#', "WideToAnsi refuses whole");
  // A character the code page lacks is its default character, never a look-alike letter.
  if (::GetACP() == 1252) {
    Check(plat::WideToAnsi(u"x\u0101\u4E00", narrow, 8) && std::strcmp(narrow, "x??") == 0, "default character");
  }
}

// Every system code page converts, those that refuse the best-fit flag too (UTF-8, GB 18030,
// ISO-2022-JP); the encoding of the Cyrillic letter shows the code page was the one asked for.
void CheckCodePages() {
  struct Case {
    UINT codePage;
    const char* bytes;  // prefix the conversion must start with
    const char16_t* back;
  };
  const Case cases[] = {
      {1252, "ab?", u"ab?"},  // 1252 lacks the letter: its default character, never a look-alike
      {65001, "ab\xD0\x96", u"ab\u0416"},
      {54936, "ab\xA7\xA8", u"ab\u0416"},
      {50220, "ab\x1B$B\x27\x28", u"ab\u0416"},
  };
  for (const Case& c : cases) {
    char name[32];
    std::snprintf(name, sizeof name, "code page %u", c.codePage);
    // Wine lacks some of them (54936, 50220 in Wine 8); Windows has them all.
    if (!::IsValidCodePage(c.codePage)) {
      std::printf("skipped: %s is not installed here\n", name);
      continue;
    }
    char narrow[32];
    std::memset(narrow, '#', sizeof narrow);
    const bool out = win32::WideToCodePage(c.codePage, u"ab\u0416", narrow, sizeof narrow);
    Check(out && std::strncmp(narrow, c.bytes, std::strlen(c.bytes)) == 0, name);
    plat::WChar wide[32];
    Check(out && win32::CodePageToWide(c.codePage, narrow, wide, 32) && Str(wide) == c.back, name);
    // Too small a buffer is refused whole in these code pages too.
    std::memset(narrow, '#', sizeof narrow);
    Check(!win32::WideToCodePage(c.codePage, u"ab\u0416", narrow, 3) && narrow[0] == 0 && narrow[3] == '#', name);
  }
}

void CheckFiles() {
  wchar_t tempW[MAX_PATH];
  ::GetTempPathW(MAX_PATH, tempW);
  plat::WChar folder[MAX_PATH];
  win32::CopyOut(folder, MAX_PATH, tempW);
  wtext::Append(folder, MAX_PATH, u"tarvin-check\\");
  ::CreateDirectoryW(win32::W(folder), nullptr);
  plat::WChar a[MAX_PATH], b[MAX_PATH], sub[MAX_PATH], pattern[MAX_PATH];
  wtext::Format(a, MAX_PATH, u"%sone.TVL", folder);
  wtext::Format(b, MAX_PATH, u"%stwo.tmp", folder);
  wtext::Format(sub, MAX_PATH, u"%sfolder.TVL", folder);
  wtext::Format(pattern, MAX_PATH, u"%s*.TVL", folder);
  ::CreateDirectoryW(win32::W(sub), nullptr);

  const uint8_t text[] = "Layout x\r\n";
  Check(plat::WriteFileBytes(b, text, sizeof text - 1), "write");
  Check(plat::MoveFileOver(b, a) && !plat::FileExists(b) && plat::FileExists(a), "replace");
  Check(plat::WriteFileBytes(b, text, 3) && plat::MoveFileOver(b, a), "replace an existing file");
  uint8_t read[16];
  size_t got = 0;
  Check(plat::ReadFileBytes(a, read, sizeof read, &got) && got == 3 && std::memcmp(read, text, 3) == 0, "read back");
  Check(plat::WriteFileBytes(a, text, sizeof text - 1) && plat::ReadFileBytes(a, read, 4, &got) && got == 4,
        "read stops at the capacity");
  Check(!plat::FileExists(sub), "a folder is no file");

  // The folder matches the pattern too, but only files are listed.
  plat::WChar name[64];
  int files = 0;
  plat::FileList list = plat::OpenFileList(pattern, name, 64);
  if (list != nullptr) {
    do {
      Check(Str(name) == u"one.TVL", "only the file is listed");
      ++files;
    } while (plat::NextListedFile(list, name, 64));
    plat::CloseFileList(list);
  }
  Check(files == 1, "one file found");
  Check(plat::RemoveFile(a) && !plat::FileExists(a), "delete");
  Check(plat::OpenFileList(pattern, name, 64) == nullptr, "nothing left to find");
  ::RemoveDirectoryW(win32::W(sub));
  ::RemoveDirectoryW(win32::W(folder));
  size_t none = 1;
  Check(!plat::ReadFileBytes(a, read, sizeof read, &none) && none == 0, "missing file");

  // A write that cannot be made fails and leaves nothing behind.
  plat::WChar nowhere[MAX_PATH];
  wtext::Format(nowhere, MAX_PATH, u"%sno such folder\\Tarvin.cfg", folder);
  Check(!plat::WriteFileBytes(nowhere, text, sizeof text - 1) && !plat::FileExists(nowhere), "a write nowhere fails");
  ::CreateDirectoryW(win32::W(folder), nullptr);
  ::CreateDirectoryW(win32::W(sub), nullptr);
  Check(!plat::WriteFileBytes(sub, text, sizeof text - 1) && !plat::FileExists(sub) &&
            ::GetFileAttributesW(win32::W(sub)) != INVALID_FILE_ATTRIBUTES,
        "a write over a folder fails and leaves the folder");
  ::RemoveDirectoryW(win32::W(sub));
  ::RemoveDirectoryW(win32::W(folder));
}

void CheckProcesses() {
  plat::WChar path[MAX_PATH];
  Check(plat::GetProgramPath(path, MAX_PATH) && wtext::Length(path) > 4, "program path");
  const size_t length = wtext::Length(path);
  plat::WChar small[MAX_PATH];
  Check(!plat::GetProgramPath(small, length) && small[0] == 0, "a cut program path is refused");
  Check(plat::GetProgramPath(small, length + 1) && Str(small) == Str(path), "an exact fit is taken");

  // The child reads its parameters after its own name: the exit code proves both arrived.
  wchar_t systemW[MAX_PATH];
  ::GetSystemDirectoryW(systemW, MAX_PATH);
  plat::WChar cmd[MAX_PATH];
  win32::CopyOut(cmd, MAX_PATH, systemW);
  wtext::Append(cmd, MAX_PATH, u"\\cmd.exe");
  plat::Process child = plat::StartProcess(cmd, u"/c exit 7");
  int code = -1;
  Check(child != nullptr && plat::WaitForProcess(child, 20000) == plat::WaitResult::Exited &&
            plat::GetProcessExitCode(child, &code) && code == 7,
        "child exit code");
  plat::CloseProcess(child);
  Check(plat::StartProcess(u"C:\\no\\such\\program.exe", nullptr) == nullptr, "missing program");
}

// Answered by the check classes' procedures from wParam, lParam and the window's context.
constexpr uint32_t kSumMessage = 0x8001;

// What a window of the check classes is made with, and what its procedure saw with it.
struct Seen {
  intptr_t addend;
  int creates;
  int destroys;
};
// Calls of a check procedure without the context that every check window is made with.
int gContextless = 0;

intptr_t Answer(void* context, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp, bool product) {
  auto* seen = static_cast<Seen*>(context);
  if (seen == nullptr) {
    ++gContextless;
    return plat::DefaultWindowProc(w, m, wp, lp);
  }
  if (m == plat::kWmCreate) ++seen->creates;
  if (m == plat::kWmDestroy) ++seen->destroys;
  if (m != kSumMessage) return plat::DefaultWindowProc(w, m, wp, lp);
  const intptr_t a = static_cast<intptr_t>(wp);
  return (product ? a * lp : a + lp) + seen->addend;
}

intptr_t SumProc(void* c, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
  return Answer(c, w, m, wp, lp, false);
}
intptr_t ProductProc(void* c, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
  return Answer(c, w, m, wp, lp, true);
}

plat::Window Make(const char16_t* className, const char16_t* title, Seen* seen, uint32_t traits = 0,
                  plat::Window parent = nullptr, int controlId = 0) {
  plat::WindowSpec spec{};
  spec.className = className;
  spec.title = title;
  spec.traits = traits;
  spec.width = 10;
  spec.height = 10;
  spec.parent = parent;
  spec.controlId = controlId;
  spec.context = seen;
  return plat::NewWindow(spec);
}

HMODULE ModuleOf(plat::Window w) { return reinterpret_cast<HMODULE>(::GetClassLongPtrW(win32::Hwnd(w), GCLP_HMODULE)); }

void CheckWindows() {
  Check(plat::RegisterWindowClass(u"TarvinCheckSum", SumProc), "register");
  Check(plat::RegisterWindowClass(u"TarvinCheckProduct", ProductProc), "register a second class");
  Check(!plat::RegisterWindowClass(u"TarvinCheckSum", ProductProc), "a class is registered once");
  Seen sumSeen{100, 0, 0}, productSeen{0, 0, 0};
  plat::Window sum = Make(u"TarvinCheckSum", u"Check Window", &sumSeen);
  Check(sum != nullptr && sumSeen.creates == 1, "kWmCreate reaches the procedure with its context while it is made");
  plat::Window product = Make(u"TarvinCheckProduct", u"Other", &productSeen);
  Check(plat::SendToWindow(sum, kSumMessage, 3, 4) == 107 && plat::SendToWindow(product, kSumMessage, 3, 4) == 12,
        "each class has its own procedure, each window its own context");
  Seen secondSeen{1000, 0, 0};
  plat::Window second = Make(u"TarvinCheckSum", u"Second", &secondSeen);
  Check(plat::SendToWindow(second, kSumMessage, 3, 4) == 1007 && plat::SendToWindow(sum, kSumMessage, 3, 4) == 107,
        "two windows of one class keep their contexts apart");
  Check(plat::PostToWindow(second, kSumMessage, 1, 2), "post");
  plat::Message posted{};
  Check(
      plat::PollMessage(&posted, second, true) && posted.message == kSumMessage && plat::DeliverMessage(posted) == 1003,
      "a delivered message reaches the procedure with its context");
  plat::RemoveWindow(second);
  Check(secondSeen.destroys == 1, "kWmDestroy comes with the context");
  Check(ModuleOf(sum) == ::GetModuleHandleW(nullptr), "the program's classes are the program's");

  Check(plat::FindWindowByName(u"TarvinCheckSum", u"Check Window") == sum, "exact lookup");
  Check(plat::FindWindowByName(u"TarvinCheckSum", u"check window") == nullptr, "titles compare exactly");
  Check(plat::FindWindowByName(u"tarvinchecksum", u"Check Window") == nullptr, "class names compare exactly");

  Check(plat::AddHotKey(sum, 1, plat::kModControl | plat::kModAlt, 0x7B), "hot key");
  Check(!plat::AddHotKey(product, 2, plat::kModControl | plat::kModAlt, 0x7B), "the first registration wins");
  Check(plat::RemoveHotKey(sum, 1) && plat::AddHotKey(product, 2, plat::kModControl | plat::kModAlt, 0x7B),
        "a released pair is free");
  plat::RemoveHotKey(product, 2);

  Check(plat::StartTimer(sum, 5, 1000) && plat::StopTimer(sum, 5), "a window's timer");
  Check(!plat::StartTimer(nullptr, 5, 1000), "no timer without a window");

  plat::RemoveWindow(sum);
  plat::RemoveWindow(product);
  Check(sumSeen.destroys == 1 && productSeen.destroys == 1, "each window is destroyed once");
  Check(!plat::SetWindowShown(sum, true), "a removed window cannot be shown");
  Check(plat::UnregisterWindowClass(u"TarvinCheckSum"), "unregister");
  Check(plat::RegisterWindowClass(u"TarvinCheckSum", ProductProc), "register again");
  Seen againSeen{0, 0, 0};
  plat::Window again = Make(u"TarvinCheckSum", u"", &againSeen);
  Check(plat::SendToWindow(again, kSumMessage, 3, 4) == 12, "the new procedure serves the class");
  plat::RemoveWindow(again);
  plat::UnregisterWindowClass(u"TarvinCheckSum");
  plat::UnregisterWindowClass(u"TarvinCheckProduct");
  Check(gContextless == 0, "no message reaches a procedure without its window's context");
}

void CheckChildren() {
  plat::RegisterWindowClass(u"TarvinCheckSum", SumProc);
  Seen parentSeen{0, 0, 0}, aSeen{10, 0, 0}, bSeen{20, 0, 0}, grandSeen{30, 0, 0};
  plat::Window parent = Make(u"TarvinCheckSum", u"Parent", &parentSeen);
  plat::Window a = Make(u"TarvinCheckSum", u"a", &aSeen, plat::kWindowVisible, parent, 7);
  plat::Window b = Make(u"TarvinCheckSum", u"b", &bSeen, 0, parent, 8);
  plat::Window grand = Make(u"TarvinCheckSum", u"grandchild", &grandSeen, 0, a, 7);
  Check(a != nullptr && b != nullptr && grand != nullptr && aSeen.creates == 1 && bSeen.creates == 1,
        "children are made with their contexts");
  Check(plat::ChildWindow(parent, 7) == a && plat::ChildWindow(parent, 8) == b && plat::ChildWindow(a, 7) == grand,
        "a child is found by its control id");
  Check(plat::ChildWindow(parent, 9) == nullptr && plat::ChildWindow(nullptr, 7) == nullptr,
        "no child for an id nobody has");
  Check(plat::SendToWindow(b, kSumMessage, 1, 1) == 22, "a child answers with its own context");
  const LONG_PTR style = ::GetWindowLongPtrW(win32::Hwnd(a), GWL_STYLE);
  Check((style & WS_CHILD) != 0 && (style & WS_POPUP) == 0 && ::GetParent(win32::Hwnd(a)) == win32::Hwnd(parent),
        "a child sits inside its parent");
  Check(plat::FindWindowByName(u"TarvinCheckSum", u"a") == nullptr, "children are not top-level windows");

  plat::RemoveWindow(parent);
  Check(parentSeen.destroys == 1 && aSeen.destroys == 1 && bSeen.destroys == 1 && grandSeen.destroys == 1,
        "children are destroyed with their parent");
  Check(!::IsWindow(win32::Hwnd(a)) && !::IsWindow(win32::Hwnd(b)) && !::IsWindow(win32::Hwnd(grand)),
        "no child outlives its parent");
  Seen orphanSeen{0, 0, 0};
  Check(Make(u"TarvinCheckSum", u"orphan", &orphanSeen, 0, parent, 7) == nullptr && orphanSeen.creates == 0,
        "no child inside a removed window");
  Check(Make(u"TarvinCheckSum", u"stranger", &orphanSeen, 0, win32::ToWindow(::GetDesktopWindow()), 7) == nullptr,
        "no child inside another program's window");
  plat::UnregisterWindowClass(u"TarvinCheckSum");
}

// The traits come out as the styles the device programs were written with: the engine's window
// (topmost, never activated, no animation, framed) and the splash (topmost, visible).
void CheckTraits() {
  plat::RegisterWindowClass(u"TarvinCheckSum", SumProc);
  struct Case {
    uint32_t traits;
    DWORD style, exStyle;
  };
  constexpr DWORD kStyles = WS_POPUP | WS_CHILD | WS_VISIBLE | WS_BORDER | WS_CAPTION;
  constexpr DWORD kExStyles = WS_EX_TOPMOST | WS_EX_NOACTIVATE | 0x04000000;
  const Case cases[] = {
      {plat::kWindowTopmost | plat::kWindowNeverActivated | plat::kWindowNoAnimation | plat::kWindowBorder,
       WS_POPUP | WS_BORDER, WS_EX_TOPMOST | WS_EX_NOACTIVATE},
      {plat::kWindowTopmost | plat::kWindowVisible, WS_POPUP | WS_VISIBLE, WS_EX_TOPMOST},
      {0, WS_POPUP, 0},
  };
  for (const Case& c : cases) {
    Seen seen{0, 0, 0};
    plat::Window w = Make(u"TarvinCheckSum", u"traits", &seen, c.traits);
    const DWORD style = static_cast<DWORD>(::GetWindowLongPtrW(win32::Hwnd(w), GWL_STYLE));
    const DWORD exStyle = static_cast<DWORD>(::GetWindowLongPtrW(win32::Hwnd(w), GWL_EXSTYLE));
    char what[96];
    std::snprintf(what, sizeof what, "traits %#x: style %#lx, extended %#lx", static_cast<unsigned>(c.traits),
                  static_cast<unsigned long>(style), static_cast<unsigned long>(exStyle));
    Check(w != nullptr && (style & kStyles) == c.style && (exStyle & kExStyles) == c.exStyle, what);
    Check(plat::WindowShown(w) == ((c.traits & plat::kWindowVisible) != 0), "visible as made");
    plat::RemoveWindow(w);
  }
  Seen seen{0, 0, 0};
  Check(Make(u"TarvinCheckSum", u"", &seen, 1u << 31) == nullptr && seen.creates == 0, "an unknown trait is refused");

  // Showing answers whether the window is there, not whether it was visible before.
  plat::Window w = Make(u"TarvinCheckSum", u"shown", &seen, plat::kWindowNeverActivated);
  Check(plat::SetWindowShown(w, true) && plat::WindowShown(w) && plat::SetWindowShown(w, true), "show");
  Check(plat::SetWindowShown(w, false) && !plat::WindowShown(w) && plat::SetWindowShown(w, false), "hide");
  plat::RemoveWindow(w);
  plat::UnregisterWindowClass(u"TarvinCheckSum");
}

// A menu opened at a point has the corner asked for there, and hands back the item chosen. The
// owner's timer plays the user while the menu runs its own loop.
struct MenuPlay {
  plat::MenuAnchor anchor;
  bool choose;  // the first item with the keyboard, or else close the menu
  RECT seen;
  bool found;
};
constexpr int kMenuX = 300, kMenuY = 200;
constexpr uintptr_t kMenuTimer = 9;

intptr_t MenuOwnerProc(void* context, plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
  auto* play = static_cast<MenuPlay*>(context);
  if (m != plat::kWmTimer || wp != kMenuTimer || play == nullptr) return plat::DefaultWindowProc(w, m, wp, lp);
  plat::StopTimer(w, kMenuTimer);
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  play->found = menu != nullptr && ::GetWindowRect(menu, &play->seen);
  if (play->choose) {
    ::PostMessageW(win32::Hwnd(w), WM_KEYDOWN, VK_DOWN, 0);
    ::PostMessageW(win32::Hwnd(w), WM_KEYDOWN, VK_RETURN, 0);
  } else {
    ::EndMenu();
  }
  return 0;
}

// Should the owner's timer never play (its procedure without its context), the menu still ends.
void CALLBACK CloseStrayMenu(HWND, UINT, UINT_PTR, DWORD) { ::EndMenu(); }

void CheckMenus() {
  plat::RegisterWindowClass(u"TarvinCheckMenuOwner", MenuOwnerProc);
  const UINT_PTR guard = ::SetTimer(nullptr, 0, 3000, CloseStrayMenu);
  const MenuPlay plays[] = {
      {plat::MenuAnchor::BottomRight, false, {}, false},
      {plat::MenuAnchor::TopLeft, false, {}, false},
      {plat::MenuAnchor::BottomRight, true, {}, false},
  };
  for (MenuPlay play : plays) {
    plat::WindowSpec spec{};
    spec.className = u"TarvinCheckMenuOwner";
    spec.context = &play;
    plat::Window owner = plat::NewWindow(spec);
    plat::Menu menu = plat::NewPopupMenu();
    plat::AppendMenuItem(menu, 41, u"First");
    plat::AppendMenuSeparator(menu);
    plat::AppendMenuItem(menu, 42, u"Second");
    plat::StartTimer(owner, kMenuTimer, 300);
    const uint32_t choice = plat::ShowPopupMenu(menu, play.anchor, kMenuX, kMenuY, owner);
    const bool bottomRight = play.anchor == plat::MenuAnchor::BottomRight;
    const bool placed = bottomRight ? play.seen.right == kMenuX && play.seen.bottom == kMenuY
                                    : play.seen.left == kMenuX && play.seen.top == kMenuY;
    Check(play.found && placed, bottomRight ? "the menu's bottom right corner is at the point"
                                            : "the menu's top left corner is at the point");
    Check(choice == (play.choose ? 41u : 0u), play.choose ? "the item chosen comes back" : "nothing chosen is 0");
    plat::FreeMenu(menu);
    plat::RemoveWindow(owner);
  }
  ::KillTimer(nullptr, guard);
  plat::UnregisterWindowClass(u"TarvinCheckMenuOwner");
}

// A library that links the backend owns its window classes and finds its own resources, not the
// program's.
void CheckLibrary() {
  plat::WChar path[MAX_PATH];
  plat::GetProgramPath(path, MAX_PATH);
  wchar_t* file = std::wcsrchr(win32::W(path), L'\\');
  if (file == nullptr) {
    Check(false, "the program's folder");
    return;
  }
  file[1] = 0;
  wtext::Append(path, MAX_PATH, reinterpret_cast<const plat::WChar*>(kLibraryFile));
  HMODULE library = ::LoadLibraryW(win32::W(path));
  Check(library != nullptr, "the check library loads");
  if (library == nullptr) return;
  auto make =
      reinterpret_cast<MakeLibraryWindowProc>(reinterpret_cast<void*>(::GetProcAddress(library, kMakeLibraryWindow)));
  Check(make != nullptr, "the check library's export");
  if (make != nullptr) {
    LibraryReport report{};
    HWND window = make(&report);
    Check(window != nullptr && report.createContext == &report, "the library's window is made with its context");
    Check(report.ownIcon && !report.programPicture, "the library's resources are its own");
    WNDCLASSW info;
    Check(window != nullptr && ModuleOf(win32::ToWindow(window)) == library &&
              ::GetClassInfoW(library, win32::W(kLibraryClass), &info) &&
              !::GetClassInfoW(::GetModuleHandleW(nullptr), win32::W(kLibraryClass), &info),
          "the library's class is the library's");
    Check(::SendMessageW(window, kLibraryMessage, 6, 7) == 42, "the library's procedure answers");
    plat::RemoveWindow(win32::ToWindow(window));
    Check(report.destroyContext == &report, "the library's window is destroyed with its context");
    ::UnregisterClassW(win32::W(kLibraryClass), library);
  }
  ::FreeLibrary(library);
}

void CheckEventsAndPictures() {
  Check(!plat::SetNamedEvent(u"TarvinCheckEvent"), "an absent event is not created");
  HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, L"TarvinCheckEvent");
  Check(plat::SetNamedEvent(u"TarvinCheckEvent") && ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0,
        "an existing event is set");
  ::CloseHandle(event);

  plat::Icon icon = plat::LoadProgramIcon(105, 16);
  Check(icon != nullptr, "program icon");
  plat::FreeIcon(icon);
  Check(plat::LoadProgramIcon(kLibraryIconId, 16) == nullptr, "the library's icon is not the program's");
  plat::Picture picture = plat::LoadPicture(kProgramPictureId);
  BITMAP info{};
  Check(picture != nullptr && ::GetObjectW(reinterpret_cast<HBITMAP>(picture), sizeof info, &info) != 0 &&
            info.bmWidth == 150 && info.bmHeight == 78,
        "splash bitmap");
  plat::FreePicture(picture);

  plat::Surface canvas = plat::CreateIconSurface(16);
  Check(canvas != nullptr, "icon canvas");
  plat::Font font = plat::CreateSystemFont(16, 0);
  plat::FillArea(canvas, plat::Rect{0, 0, 16, 16}, plat::kColorActiveCaption);
  plat::PaintText(canvas, font, u"En", plat::Rect{1, 0, 16, 16}, 0x25, plat::kColorCaptionText, true);
  icon = plat::IconFromSurface(canvas);
  Check(icon != nullptr && plat::IconFromSurface(canvas) == nullptr, "a canvas makes one icon");
  plat::FreeIcon(icon);

  int w1 = 0, h1 = 0, w2 = 0, h2 = 0, wb = 0, hb = 0;
  plat::Font bold = plat::CreateSystemFont(-16, 700);
  plat::Font normal = plat::CreateSystemFont(-16, 400);
  Check(plat::MeasureText(normal, u"WW", plat::kDtCalcRect, &w2, &h2) &&
            plat::MeasureText(normal, u"W", plat::kDtCalcRect, &w1, &h1) && w2 > w1 && h1 == h2 && h1 >= 16,
        "measuring");
  Check(plat::MeasureText(normal, u"W\n\rW", plat::kDtCalcRect, &wb, &hb) && hb >= 2 * h1, "line breaks count");
  Check(plat::MeasureText(bold, u"WWWW", plat::kDtCalcRect, &wb, &hb) &&
            plat::MeasureText(normal, u"WWWW", plat::kDtCalcRect, &w2, &h2) && wb >= w2,
        "bold is no narrower");
  Check(!plat::MeasureText(nullptr, u"W", 0, &w1, &h1), "no font, no size");
  plat::DeleteFont(bold);
  plat::DeleteFont(normal);
  plat::DeleteFont(font);
}

}  // namespace

int plat::ProgramMain() {
  CheckText();
  CheckCodePages();
  CheckFiles();
  CheckProcesses();
  CheckWindows();
  CheckChildren();
  CheckTraits();
  CheckMenus();
  CheckLibrary();
  CheckEventsAndPictures();
  Check(!plat::OpenHotKeyTakeover(), "the desktop has no takeover call");
  std::printf("%d failed\n", gFailures);
  std::fflush(stdout);
  return gFailures;
}
