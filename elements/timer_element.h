// TQxTimer: turns a periodic TTimer into a stream of outTimer events, with inStart, inStop and an
// optional automatic stop after AutoStop ticks. Windows builds only (the ticks come through the
// message loop); the tick algorithm itself lives in timer_tick.h.
#pragma once

#include <cstdint>

#include "runtime/data.h"

class TTimer;

class TQxTimer : public TQxObject {
 public:
  TQxTimer();
  // Stops and frees the timer, so no tick can reach a freed element.
  ~TQxTimer() override;

  std::int32_t Pending = 0;  // ticks being handled or waiting; 0 when idle
  TTimer* Timer = nullptr;
  std::int32_t Remaining = 0;   // ticks left before the automatic stop; negative: never
  std::int32_t AutoStop = 0;    // ticks from a start to the automatic stop; <= 0: never
  std::uint8_t QueueTicks = 0;  // 0: a tick arriving during a tick is dropped; else handled after
  TQx_Event outTimer;
  TQx_Event outStop;

  // --- properties
  void SetInterval(std::int32_t ms);  // a running timer restarts with the new period
  void SetEnable(std::uint8_t enable);
  void SetAutoStop(std::int32_t ticks);  // also reloads Remaining
  void SetQueueTicks(std::uint8_t queue) { QueueTicks = queue; }

  // --- input methods (the value and the index are ignored)
  void inStart(TData* d, std::uint16_t index);  // reloads Remaining, enables the timer
  void inStop(TData* d, std::uint16_t index);   // disables the timer, then outStop, even when idle

  // Called by the TTimer on every period.
  void Tick();
  void DisableTimer();
};
