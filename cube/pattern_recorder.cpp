// TPatternRecorder: which changes are steps, and the open reset that gathers the LEDs it darkens.
#include "cube/pattern_recorder.h"

namespace cube {

void TPatternRecorder::Settle(const TPattern& shown) {
  if (shown == base_) return;
  history_.Record(base_);
  base_ = shown;
}

void TPatternRecorder::FollowLed(const TPatternChange& change) {
  // The reset reaches the LEDs one by one: the first one opens the step, the rest join it.
  const bool joinsReset = change.Cause == TPatternCause::Reset && resetOpen_;
  if (!joinsReset) {
    Settle(change.Old);
    history_.Record(change.Old);
    resetOpen_ = change.Cause == TPatternCause::Reset;
  }
  base_ = change.New;
}

void TPatternRecorder::Follow(const TPatternChange& change) {
  switch (change.Cause) {
    case TPatternCause::Click:
    case TPatternCause::Reset:
      if (change.Changed.any()) FollowLed(change);
      return;
    case TPatternCause::Frame:
    case TPatternCause::Transform:
      resetOpen_ = false;
      Settle(change.Old);
      if (change.Changed.any()) history_.Record(change.Old);
      base_ = change.New;
      return;
    case TPatternCause::Show:
      resetOpen_ = false;
      return;
    case TPatternCause::Undo:
    case TPatternCause::Redo:
      base_ = change.New;
      return;
  }
}

std::optional<TPattern> TPatternRecorder::Undo(const TPattern& shown) {
  resetOpen_ = false;
  Settle(shown);
  return history_.Undo(shown);
}

std::optional<TPattern> TPatternRecorder::Redo(const TPattern& shown) {
  resetOpen_ = false;
  Settle(shown);
  return history_.Redo(shown);
}

}  // namespace cube
