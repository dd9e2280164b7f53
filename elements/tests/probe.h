// Test helpers: an element that records what reaches it, and a data output answering a fixed value.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/data.h"

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

// A data output that answers a preset value and counts how often it was asked.
struct FixedSource : TQxObject {
  TData value;
  int reads = 0;
  void getValue(TData* d, std::uint16_t) {
    ++reads;
    *d = value;
  }
  TQx_Event Link() { return MakeLink<&FixedSource::getValue>(this); }
};

// Delivery is a process-wide switch; every element test runs with it on.
struct DeliveryOn {
  DeliveryOn() { EnableDelivery(); }
  ~DeliveryOn() { DisableDelivery(); }
};
