// TPatternRecorder: turns the owner's changes into undo steps. Follows the pattern owner's
// notification; keeps the history and the pattern after the last recorded step, never the pattern
// shown. Window-free; must never include a window-system header.
#pragma once

#include <optional>

#include "cube/pattern.h"
#include "cube/pattern_history.h"
#include "cube/pattern_owner.h"

namespace cube {

class TPatternRecorder {
 public:
  // Every change of the owner, told in order: a click is a step, the LEDs a reset darkens one by
  // one are one step together, a frame or a tool that changes the pattern is a step, a played
  // frame is none until it is settled.
  void Follow(const TPatternChange& change);
  // The subscription for the owner.
  TPatternListener Listener() { return {&FollowThis, this}; }

  // One step from the last recorded pattern to `shown`; nothing if they are equal. Leaves an open
  // reset open: a settle asked for while a reset is under way must not split it into two steps.
  void Settle(const TPattern& shown);
  // The pattern an undo (redo) puts instead of `shown`, the open step closed first; none when there
  // is nothing to go back (forward) to. The caller puts it on the owner with the cause Undo (Redo).
  std::optional<TPattern> Undo(const TPattern& shown);
  std::optional<TPattern> Redo(const TPattern& shown);

  // Whether a reset darkening an LED now would join the reset under way rather than start a step.
  bool ResetOpen() const { return resetOpen_; }
  const TPatternHistory& History() const { return history_; }

 private:
  static void FollowThis(void* self, const TPatternChange& change) {
    static_cast<TPatternRecorder*>(self)->Follow(change);
  }
  void FollowLed(const TPatternChange& change);

  TPatternHistory history_;
  TPattern base_;  // the pattern after the last recorded step
  bool resetOpen_ = false;
};

}  // namespace cube
