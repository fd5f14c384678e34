#include "engine/output.h"

#include "engine/hotkeys.h"
#include "platform/input.h"
#include "platform/processes.h"
#include "platform/shell.h"
#include "platform/windowing.h"
#include "platform/wtext.h"

namespace {
constexpr uint32_t kErrorBoxFlags = plat::kMbIconHand | plat::kMbSetForeground | plat::kMbTopmost;
constexpr size_t kErrorTextLength = 256;

}  // namespace

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

void PostToOrnitap(uint16_t action) {
  plat::Window ornitap = plat::FindWindowByName(kOrnitapClass, kOrnitapTitle);
  if (ornitap != nullptr) plat::PostToWindow(ornitap, MsgOrnitapAction, action, 0);
}

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
