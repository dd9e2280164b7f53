// TQxTimer over the window library's TTimer.
#include "elements/timer_element.h"

#include "elements/timer_tick.h"
#include "platform/timer.h"

namespace {

void TimerTicked(void* element, TObj*) { static_cast<TQxTimer*>(element)->Tick(); }

}  // namespace

TQxTimer::TQxTimer() : Timer(CreateTimer(1000)) { Timer->SetOnTimer({&TimerTicked, this}); }

TQxTimer::~TQxTimer() { Timer->Free(); }

void TQxTimer::SetInterval(std::int32_t ms) { Timer->SetInterval(ms); }

void TQxTimer::SetEnable(std::uint8_t enable) { Timer->SetEnabled(enable != 0); }

void TQxTimer::SetAutoStop(std::int32_t ticks) {
  AutoStop = ticks;
  Remaining = ticks;
}

void TQxTimer::inStart(TData*, std::uint16_t) {
  Remaining = AutoStop;
  Timer->SetEnabled(true);
}

void TQxTimer::inStop(TData*, std::uint16_t) {
  Timer->SetEnabled(false);
  FireEmpty(outStop);
}

void TQxTimer::Tick() { HandleTimerTick(*this); }

void TQxTimer::DisableTimer() { Timer->SetEnabled(false); }
