// Test helpers: an element that records what reaches it, the runtime tests' data output answering a
// fixed value (FixedSource), and event delivery switched on for a test.
#pragma once

#include <cstdint>
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

// Delivery is a process-wide switch; every element test runs with it on.
struct DeliveryOn {
  DeliveryOn() { EnableDelivery(); }
  ~DeliveryOn() { DisableDelivery(); }
};
