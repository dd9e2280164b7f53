// TQxHub: the fan-out and merge element. Whatever arrives on any input pin is passed on unchanged,
// as a copy, to every output in order. It never forwards and keeps no state between deliveries.
// Never includes a window-system header.
#pragma once

#include <cstdint>
#include <vector>

#include "runtime/data.h"

class TQxHub : public TQxObject {
 public:
  // Input pins are links to inEvent with Index 0, 1, ...; only the wiring reads InCount.
  std::uint8_t InCount = 0;

  // Resizes outEvent to n entries: existing entries are kept, new ones are unconnected.
  void SetOutCount(std::uint8_t n);
  std::uint8_t OutCount() const noexcept { return static_cast<std::uint8_t>(outEvent.size()); }

  // Fires a copy of d on every output in turn; each delivery, forwarded steps included, ends
  // before the next output fires. The index does not change what the hub does.
  void inEvent(TData* d, std::uint16_t index);

  std::vector<TQx_Event> outEvent;
};
