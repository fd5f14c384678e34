#include "engine/key_path.h"

#include "engine/hint.h"
#include "engine/output.h"
#include "engine/switching.h"
#include "platform/input.h"
#include "platform/windowing.h"
#include "platform/wtext.h"

namespace {

EngineState& E(void* context) { return *static_cast<EngineState*>(context); }

uint32_t Tick(void*) { return plat::TickCount(); }
bool CapsLockOn(void*) { return plat::IsCapsLockOn(); }

// ICQ windows get the second group of columns. The buffers start as dashes so that a failed
// query cannot match.
bool ForegroundIsIcq(void*) {
  constexpr size_t kNameLength = 31;
  WChar className[kNameLength] = u"----";
  WChar title[kNameLength] = u"---";
  plat::Window fg = plat::ForegroundWindow();
  if (fg != nullptr) {
    plat::GetWindowClassName(fg, className, kNameLength);
    plat::GetWindowTitle(fg, title, kNameLength);
  }
  return wtext::StartsWith(className, u"Afx:") && wtext::StartsWith(title, u"ICQ");
}

void Type(void* context, WChar value) { TypeCharacter(E(context), value); }
void Keystroke(void* context, ScanWord word) { SendKeystroke(E(context), word); }
void Program(void* context, uint16_t execId) { RunExec(E(context), execId); }
void Action(void*, uint16_t action) { PostToOrnitap(action); }
void Switch(void* context) { NextLayout(E(context)); }

// The engine ends on the third tick from now.
void Unload(void* context) { E(context).unloadCountdown = 2; }

void Preview(void* context, WChar value) {
  const WChar text[2] = {value, 0};
  ShowHint(E(context), text);
}

constexpr KeyInputs kInputs = {Tick, CapsLockOn, ForegroundIsIcq};
constexpr KeyOutputs kOutputs = {Type, Keystroke, Program, Action, Switch, Unload, Preview};

}  // namespace

Translator EngineTranslator(EngineState& engine) {
  return Translator{&engine.translator, engine.layout, engine.config, &kInputs, &kOutputs, &engine};
}
