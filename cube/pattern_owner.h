// TPatternOwner: the one holder of which LEDs are lit. Everything that shows or keeps the pattern
// (the LEDs, the frame string, the undo history, the cube view, the player) follows it through one
// typed notification and keeps no copy that would need bringing back in line. Window-free and
// element-free: must never include a window-system header or touch a link.
#pragma once

#include <cstddef>
#include <vector>

#include "cube/pattern.h"

namespace cube {

// Why the pattern changed: the followers treat a user's LED and a whole frame differently.
enum class TPatternCause {
  Click,      // one LED toggled by its own click
  Reset,      // one LED darkened by the reset, which reaches the lit LEDs one by one
  Frame,      // a whole frame put on the cube as one undoable step (a line of the effect text)
  Transform,  // a tool reshaped the pattern
  Show,       // a played frame, no step of its own
  Undo,
  Redo,
};

// Click and Reset change one LED, whose own designed chain carries the new state on.
inline bool ByLed(TPatternCause cause) {
  return cause == TPatternCause::Click || cause == TPatternCause::Reset;
}

struct TPatternChange {
  const TPattern& Old;
  const TPattern& New;
  TPattern Changed;  // Old ^ New; may be none: an equal frame put again still resets the frame line
  TPatternCause Cause;
};

struct TPatternListener {
  void (*Code)(void* self, const TPatternChange& change) = nullptr;
  void* Object = nullptr;
};

class TPatternOwner {
 public:
  TPatternOwner() = default;
  TPatternOwner(const TPatternOwner&) = delete;
  TPatternOwner& operator=(const TPatternOwner&) = delete;

  const TPattern& Pattern() const { return pattern_; }

  // Listeners are told in the order they subscribed; one object subscribes once.
  void Subscribe(TPatternListener listener);
  void Unsubscribe(const void* object);
  std::size_t ListenerCount() const { return listeners_.size(); }

  // Makes `next` the pattern and tells every listener, even when nothing changed. A Put made while
  // the listeners are being told waits until every one of them has heard the change before it, so
  // each listener sees the changes in order and Pattern() is always the New of what it is told.
  void Put(const TPattern& next, TPatternCause cause);

 private:
  struct TPending {
    TPattern Next;
    TPatternCause Cause;
  };
  void Tell(const TPattern& next, TPatternCause cause);

  TPattern pattern_;
  std::vector<TPatternListener> listeners_;
  std::vector<TPending> pending_;
  bool telling_ = false;
};

}  // namespace cube
