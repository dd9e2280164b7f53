// The hub's fan-out loop. Never allocates during delivery.
#include "runtime/hub.h"

void TQxHub::SetOutCount(std::uint8_t n) { outEvent.resize(n); }

void TQxHub::inEvent(TData* d, std::uint16_t /*index*/) {
  // Re-reading the size and copying the link each time keeps the loop sound even if a receiver
  // changes this hub's outputs during a nested delivery.
  for (std::size_t i = 0; i < outEvent.size(); ++i) {
    const TQx_Event link = outEvent[i];
    Fire(link, d);
  }
}
