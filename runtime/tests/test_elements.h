// Small elements for the runtime tests: a receiver that records what reaches it, a forwarder, and a
// data output that answers a fixed value. They exist only to drive delivery in tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "runtime/data.h"

// Records every value delivered to inValue, with the pin index it came on.
struct Recorder {
  struct Seen {
    std::uint8_t kind;
    std::int32_t intValue;
    std::string strValue;
    double realValue;
    std::uint16_t index;
  };
  std::vector<Seen> seen;
  std::vector<std::string>* log = nullptr;  // shared order log, optional
  std::string name;

  void inValue(TData* d, std::uint16_t index) {
    seen.push_back({d->Kind, d->IntValue, std::string(d->StrValue.view()), d->RealValue, index});
    if (log != nullptr) log->push_back(name);
  }
  TQx_Event Link(std::uint16_t index = 0) { return MakeLink<&Recorder::inValue>(this, index); }
};

// Forwards its incoming integer plus one along outNext, as a chain element does.
struct IntForwarder {
  TQx_Event outNext;
  std::vector<std::string>* log = nullptr;
  std::string name;

  void inValue(TData* d, std::uint16_t) {
    if (log != nullptr) log->push_back(name);
    ForwardInt(d, &outNext, AsInt(d) + 1);
  }
  TQx_Event Link() { return MakeLink<&IntForwarder::inValue>(this, 0); }
};

// A data output answering a preset value (possibly dkAbsent) and counting how often it was read.
// The element tests use it too.
struct FixedSource {
  TData value;
  int reads = 0;
  void getValue(TData* d, std::uint16_t) {
    ++reads;
    *d = value;
  }
  TQx_Event Link() { return MakeLink<&FixedSource::getValue>(this, 0); }
};
