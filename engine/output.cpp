#include "engine/output.h"

#include "engine/hotkeys.h"
#include "engine/translate.h"
#include "platform/wtext.h"

namespace {

constexpr uint32_t kErrorBoxFlags = plat::kMbIconHand | plat::kMbSetForeground | plat::kMbTopmost;
constexpr size_t kErrorTextLength = 256;

void RunExec(EngineState& engine, uint16_t id) {
  const int index = FindExecIndex(*engine.layout, id);
  if (index < 0) return;
  const ExecDef& exec = engine.layout->execs[index];
  plat::Process process = plat::StartProcess(ExecPath(exec), ExecParams(exec));
  if (process != nullptr) {
    plat::CloseProcess(process);
    return;
  }
  WChar text[kErrorTextLength];
  wtext::Format(text, kErrorTextLength, u"Error executing \"%s\" ", ExecPath(exec));
  if (ExecParams(exec) != nullptr) wtext::Append(text, kErrorTextLength, ExecParams(exec));
  plat::ShowMessageBox(text, u"Error", kErrorBoxFlags);
}

void PostToOrnitap(uint16_t id) {
  plat::Window ornitap = plat::FindWindowByName(kOrnitapClass, kOrnitapTitle);
  if (ornitap != nullptr) plat::PostToWindow(ornitap, MsgOrnitapAction, id - 0x0200u, 0);
}

}  // namespace

void TypeCharacter(EngineState&, WChar value) { plat::SendCharacter(value); }

// While the synthesized press passes through the system the engine holds no hot key for its key
// code, so it does not catch its own keystroke.
void SendKeystroke(EngineState& engine, ScanWord word) {
  const uint8_t key = KeyCode(word);
  engine.injectingWord = word;
  ReleaseAllHotKeys(engine);
  plat::SleepFor(10);
  if (word & kFlagCtrl) plat::SendKeyTransition(plat::kVkControl, false);
  if (word & kFlagAlt) plat::SendKeyTransition(plat::kVkMenu, false);
  if (word & kFlagShift) plat::SendKeyTransition(plat::kVkShift, false);
  if (word & kFlagWin) plat::SendKeyTransition(plat::kVkLWin, false);
  plat::SendKeyTransition(key, false);
  plat::SendKeyTransition(key, true);
  if (word & kFlagWin) plat::SendKeyTransition(plat::kVkLWin, true);
  if (word & kFlagShift) plat::SendKeyTransition(plat::kVkShift, true);
  if (word & kFlagAlt) plat::SendKeyTransition(plat::kVkMenu, true);
  if (word & kFlagCtrl) plat::SendKeyTransition(plat::kVkControl, true);
  RegisterAllHotKeys(engine);
  engine.injectingWord = 0;
}

void RunCommand(EngineState& engine, uint16_t id) {
  TranslatorState& t = engine.translator;
  if (id <= kMaxExecId) {
    RunExec(engine, id);
    ClearOneShotStates(engine);
    return;
  }
  if (id >= 0x0200 && id <= 0x02FF) {
    PostToOrnitap(id);
    ClearOneShotStates(engine);
    return;
  }
  // The built-in commands change only their own state, so an accent or modifier command
  // followed by a character applies to that character.
  switch (id) {
    case 0x0101: t.shiftOn = !t.shiftOn; break;
    case 0x0102:
      t.shiftOn = 0;
      t.capsLockOn = !t.capsLockOn;
      break;
    case 0x0103: t.ctrlOn = !t.ctrlOn; break;
    case 0x0104: t.altOn = !t.altOn; break;
    case 0x0105: t.winOn = !t.winOn; break;
    case 0x0110: t.accentState = 0; break;
    case 0x0111: t.accentState = t.accentState == 1 ? 0 : 1; break;
    case 0x0112: t.accentState = t.accentState == 2 ? 0 : 2; break;
    case 0x0113: t.accentState = t.accentState == 3 ? 0 : 3; break;
    case 0x011F: t.accentState = t.accentState >= 3 ? 0 : t.accentState + 1; break;
    case 0x0120: NextLayout(engine); break;
    case 0x0121:
      engine.unloadCountdown = 2;
      engine.layout->keyCount = 0;
      break;
    default: break;
  }
}
