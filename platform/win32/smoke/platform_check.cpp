// Checks of the Win32 backend that need a real Windows (Wine will do): buffer bounds of the text
// and path calls, files, processes with their command lines, window procedures by class, exact
// window lookup, hot keys and named events. smoke.sh runs it; it prints each failure and returns
// how many there were.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32/internal.h"
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
    Check(plat::AnsiToWide(c.source, buffer, c.capacity) == c.ok && Str(buffer) == c.wide &&
              buffer[c.capacity] == u'#',
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
  Check(plat::ReplaceFile(b, a) && !plat::FileExists(b) && plat::FileExists(a), "replace");
  Check(plat::WriteFileBytes(b, text, 3) && plat::ReplaceFile(b, a), "replace an existing file");
  uint8_t read[16];
  size_t got = 0;
  Check(plat::ReadFileBytes(a, read, sizeof read, &got) && got == 3 && std::memcmp(read, text, 3) == 0, "read back");
  Check(plat::WriteFileBytes(a, text, sizeof text - 1) && plat::ReadFileBytes(a, read, 4, &got) && got == 4,
        "read stops at the capacity");
  Check(!plat::FileExists(sub), "a folder is no file");

  // The folder matches the pattern too, but only files are listed.
  plat::WChar name[64];
  int files = 0;
  plat::FindHandle find = plat::FindFirstFile(pattern, name, 64);
  if (find != nullptr) {
    do {
      Check(Str(name) == u"one.TVL", "only the file is listed");
      ++files;
    } while (plat::FindNextFile(find, name, 64));
    plat::FindClose(find);
  }
  Check(files == 1, "one file found");
  Check(plat::DeleteFile(a) && !plat::FileExists(a), "delete");
  Check(plat::FindFirstFile(pattern, name, 64) == nullptr, "nothing left to find");
  ::RemoveDirectoryW(win32::W(sub));
  ::RemoveDirectoryW(win32::W(folder));
  size_t none = 1;
  Check(!plat::ReadFileBytes(a, read, sizeof read, &none) && none == 0, "missing file");
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

intptr_t SumProc(plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
  if (m == 0x8001) return static_cast<intptr_t>(wp) + lp;
  return plat::DefWindowProc(w, m, wp, lp);
}

intptr_t ProductProc(plat::Window w, uint32_t m, uintptr_t wp, intptr_t lp) {
  if (m == 0x8001) return static_cast<intptr_t>(wp) * lp;
  return plat::DefWindowProc(w, m, wp, lp);
}

void CheckWindows() {
  Check(plat::RegisterWindowClass(u"TarvinCheckSum", SumProc), "register");
  Check(plat::RegisterWindowClass(u"TarvinCheckProduct", ProductProc), "register a second class");
  Check(!plat::RegisterWindowClass(u"TarvinCheckSum", ProductProc), "a class is registered once");
  plat::Window sum = plat::CreateWindow(0, u"TarvinCheckSum", u"Check Window", 0, 0, 0, 10, 10);
  plat::Window product = plat::CreateWindow(0, u"TarvinCheckProduct", u"Other", 0, 0, 0, 10, 10);
  Check(plat::SendMessage(sum, 0x8001, 3, 4) == 7 && plat::SendMessage(product, 0x8001, 3, 4) == 12,
        "each class has its own procedure");
  Check(plat::FindWindow(u"TarvinCheckSum", u"Check Window") == sum, "exact lookup");
  Check(plat::FindWindow(u"TarvinCheckSum", u"check window") == nullptr, "titles compare exactly");
  Check(plat::FindWindow(u"tarvinchecksum", u"Check Window") == nullptr, "class names compare exactly");

  Check(plat::RegisterHotKey(sum, 1, plat::kModControl | plat::kModAlt, 0x7B), "hot key");
  Check(!plat::RegisterHotKey(product, 2, plat::kModControl | plat::kModAlt, 0x7B), "the first registration wins");
  Check(plat::UnregisterHotKey(sum, 1) && plat::RegisterHotKey(product, 2, plat::kModControl | plat::kModAlt, 0x7B),
        "a released pair is free");
  plat::UnregisterHotKey(product, 2);

  plat::DestroyWindow(sum);
  plat::DestroyWindow(product);
  Check(plat::UnregisterWindowClass(u"TarvinCheckSum"), "unregister");
  Check(plat::RegisterWindowClass(u"TarvinCheckSum", ProductProc), "register again");
  plat::Window again = plat::CreateWindow(0, u"TarvinCheckSum", u"", 0, 0, 0, 10, 10);
  Check(plat::SendMessage(again, 0x8001, 3, 4) == 12, "the new procedure serves the class");
  plat::DestroyWindow(again);
  plat::UnregisterWindowClass(u"TarvinCheckSum");
  plat::UnregisterWindowClass(u"TarvinCheckProduct");
}

void CheckEventsAndPictures() {
  Check(!plat::SetNamedEvent(u"TarvinCheckEvent"), "an absent event is not created");
  HANDLE event = ::CreateEventW(nullptr, FALSE, FALSE, L"TarvinCheckEvent");
  Check(plat::SetNamedEvent(u"TarvinCheckEvent") && ::WaitForSingleObject(event, 0) == WAIT_OBJECT_0,
        "an existing event is set");
  ::CloseHandle(event);

  plat::Icon icon = plat::LoadIcon(105, 16);
  Check(icon != nullptr, "program icon");
  plat::DestroyIcon(icon);
  plat::Bitmap bitmap = plat::LoadBitmap(1034);
  BITMAP info{};
  Check(bitmap != nullptr && ::GetObjectW(reinterpret_cast<HBITMAP>(bitmap), sizeof info, &info) != 0 &&
            info.bmWidth == 150 && info.bmHeight == 78,
        "splash bitmap");
  plat::DeleteBitmap(bitmap);

  plat::Surface canvas = plat::CreateIconSurface(16);
  Check(canvas != nullptr, "icon canvas");
  plat::Font font = plat::CreateSystemFont(16, 0);
  plat::FillRect(canvas, plat::Rect{0, 0, 16, 16}, plat::kColorActiveCaption);
  plat::DrawText(canvas, font, u"En", plat::Rect{1, 0, 16, 16}, 0x25, plat::kColorCaptionText, true);
  icon = plat::IconFromSurface(canvas);
  Check(icon != nullptr && plat::IconFromSurface(canvas) == nullptr, "a canvas makes one icon");
  plat::DestroyIcon(icon);

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
  CheckFiles();
  CheckProcesses();
  CheckWindows();
  CheckEventsAndPictures();
  Check(!plat::OpenHotKeyTakeover(), "the desktop has no takeover call");
  std::printf("%d failed\n", gFailures);
  std::fflush(stdout);
  return gFailures;
}
