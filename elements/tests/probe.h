// Test helpers: an element that records what reaches it, the runtime tests' data output answering a
// fixed value (FixedSource), and event delivery switched on for a test.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "runtime/data.h"
#include "runtime/tests/test_elements.h"

// Records the kind and value of every event it receives.
struct RecordingSink : TQxObject {
  std::vector<TData> received;
  void inRecord(TData* d, std::uint16_t) {
    TData copy = *d;
    copy.Next = nullptr;
    received.push_back(copy);
  }
  TQx_Event Link() { return MakeLink<&RecordingSink::inRecord>(this); }
};

// Records the outputs of a timer element: "T" per outTimer, "S" per outStop. `duringTick` runs
// inside the next tick, once (it may fire further ticks: re-entry).
struct TimerRecorder {
  std::string log;
  std::function<void()> duringTick;
  void onTimer(TData*, std::uint16_t) {
    log += 'T';
    if (duringTick) {
      auto work = std::move(duringTick);
      work();
    }
  }
  void onStop(TData*, std::uint16_t) { log += 'S'; }
  int Ticks() const { return static_cast<int>(std::count(log.begin(), log.end(), 'T')); }
};

// Delivery is a process-wide switch; every element test runs with it on.
struct DeliveryOn {
  DeliveryOn() { EnableDelivery(); }
  ~DeliveryOn() { DisableDelivery(); }
};
