// TQxCubePattern: the pattern element. It holds the cube's pattern owner, the one place that says
// which LEDs are lit, puts whole frames on the cube, reshapes the pattern and keeps the undo history
// of every change, the user's LED clicks and resets included. The LEDs, the frame graph, the cube
// view and the player follow the owner's notification (Subscribe) or the pins fired from it; none
// keeps a copy. Window-free: must never include a window-system header.
#pragma once

#include <cstdint>
#include <optional>

#include "cube/pattern.h"
#include "cube/pattern_history.h"
#include "cube/pattern_owner.h"
#include "cube/pattern_recorder.h"
#include "runtime/data.h"

class TQxCubePattern : public TQxObject {
 public:
  // The codes inTransform takes.
  enum : std::int32_t {
    ctShiftXMinus = 1,
    ctShiftXPlus = 2,
    ctShiftYMinus = 3,
    ctShiftYPlus = 4,
    ctShiftZMinus = 5,
    ctShiftZPlus = 6,
    ctWrapShiftXMinus = 7,  // the same shifts with wrap-around
    ctWrapShiftXPlus = 8,
    ctWrapShiftYMinus = 9,
    ctWrapShiftYPlus = 10,
    ctWrapShiftZMinus = 11,
    ctWrapShiftZPlus = 12,
    ctRotateZ = 13,  // a quarter turn about the vertical axis
    ctMirrorX = 14,
    ctMirrorY = 15,
    ctMirrorZ = 16,
    ctInvert = 17,
    ctLightAll = 18,
  };
  // What an LED asks for on inLedChange.
  enum : std::int32_t { lcToggle = 0, lcOff = 1 };

  TQxCubePattern();

  TQx_Event outFault;  // string: the Russian reason (CP1251) a frame was refused
  // empty: the user changed the pattern (an LED click, a reset, a transform, undo or redo), fired
  // once the change is taken in. For a reset it comes at the first LED, while the others are still
  // going dark: a receiver may settle (inSettle) but must not put another pattern on the cube.
  TQx_Event outUserChange;
  TQx_Event outHistory;  // int: bit 0 undo possible, bit 1 redo possible; fired when either changes
  // empty: the shown pattern changed, by whatever means (playback included), once every follower
  // of the owner has taken it in. For those who show the pattern elsewhere: they read it back
  // through getFrame, never keep it.
  TQx_Event outChange;

  // A frame string put on the cube as one undoable step; an invalid one changes nothing.
  void inFrame(TData* d, std::uint16_t index);
  // Like inFrame, but records no step (playback frames).
  void inShow(TData* d, std::uint16_t index);
  // One step from the last recorded pattern to what the cube shows now; nothing if they are equal.
  void inSettle(TData* d, std::uint16_t index);
  void inUndo(TData* d, std::uint16_t index);
  void inRedo(TData* d, std::uint16_t index);
  // d: one of the ct codes; any other code changes nothing.
  void inTransform(TData* d, std::uint16_t index);
  // The current frame string.
  void getFrame(TData* d, std::uint16_t index);
  // Linked from LED i's outChange with index i: the LED asks for its change (a click: lcToggle, a
  // reset: lcOff), which the owner makes and tells; the LED's state follows from the notification.
  // Consecutive resets of LEDs are one step.
  void inLedChange(TData* d, std::uint16_t index);

  // Followers of the pattern's owner, told of every change in the order they subscribed (after the
  // history); only this element's inputs put a pattern on the owner.
  void Subscribe(cube::TPatternListener listener) { owner_.Subscribe(listener); }
  void Unsubscribe(const void* object) { owner_.Unsubscribe(object); }
  const cube::TPattern& Shown() const { return owner_.Pattern(); }
  const cube::TPatternHistory& History() const { return recorder_.History(); }
  // What outHistory reports: bit 0 undo possible, bit 1 redo possible.
  std::int32_t HistoryState() const;

 private:
  // Puts the pattern on the owner, then fires the pins that follow from the change.
  void Put(const cube::TPattern& pattern, cube::TPatternCause cause);
  void ReportHistory();
  // An undo or a redo: the pattern the recorder gives back put on the cube.
  using HistoryStep = std::optional<cube::TPattern> (cube::TPatternRecorder::*)(const cube::TPattern&);
  void StepHistory(HistoryStep step, cube::TPatternCause cause);
  // The pattern of the frame string in d, or none after reporting why it is no frame.
  std::optional<cube::TPattern> FrameOf(TData* d);

  cube::TPatternOwner owner_;
  cube::TPatternRecorder recorder_;
  std::int32_t historyState_ = 0;
};
