#include "engine/activity.h"

#include "platform/input.h"

namespace {
constexpr int kActivityTicks = 100;  // five seconds of timer ticks
const WChar* const kActivityEvents[] = {u"BackLightChangeEvent", u"UserActiveEvent", u"TouchEvent"};
}  // namespace

void SignalUserActivity() {
  plat::ResetIdleTimer();
  for (const WChar* name : kActivityEvents) {
    plat::SetNamedEvent(name);
  }
}

void ActivityStep(EngineState& engine) {
  if (engine.activityCountdown <= 0) {
    SignalUserActivity();
    engine.activityCountdown = kActivityTicks;
  }
}

void AdvanceActivityCountdown(EngineState& engine) {
  if (engine.activityCountdown >= 0) --engine.activityCountdown;
}
