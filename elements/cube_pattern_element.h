// TQxCubePattern: owns the pattern that the 216 LEDs show, puts whole frames on the cube in one
// batch (only the LEDs that change are repainted, the frame graph is brought in line once), reshapes
// the pattern and keeps the undo history of every change, the user's LED clicks and resets included.
// Window-free: it reaches the LEDs and the frame graph only through the accessors the form hands in,
// so it must never include a window-system header.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "cube/pattern.h"
#include "cube/pattern_history.h"
#include "runtime/data.h"

// What the element needs of one LED: its state byte and a way to have it repainted.
struct TCubeLedAccess {
  std::uint8_t* State = nullptr;
  void (*Repaint)(void* led) = nullptr;  // may be null (an LED without a window)
  void* Led = nullptr;
};

// For any LED class with a State byte; `repaint` null for LEDs that never paint.
template <class Led>
TCubeLedAccess CubeLedAccessOf(Led* led, void (*repaint)(void* led) = nullptr) {
  return {&led->State, repaint, led};
}

// Called once after a batch: the LEDs whose bits are set in `changed` have new states.
struct TCubeBatchHook {
  void (*Code)(void* self, const cube::TPattern& changed) = nullptr;
  void* Object = nullptr;
};

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

  // Set by the form before the first input arrives; LED index i at i.
  std::array<TCubeLedAccess, cube::kLedCount> Leds{};
  // Brings the frame-string graph in line; the frame line must then hold the new frame string, set once.
  TCubeBatchHook FrameSync;
  // Paints the changed LEDs at once rather than one paint message each; with it set, the LEDs'
  // Repaint may be left unset.
  TCubeBatchHook PaintNow;

  TQx_Event outFault;  // string: the Russian reason (CP1251) a frame was refused
  // empty: the user changed the pattern (an LED click, a reset, a transform, undo or redo), fired
  // once the change is taken in. For a reset it comes at the first LED, while the others are still
  // going dark: a receiver may settle (inSettle) but must not put another pattern on the cube.
  TQx_Event outUserChange;
  TQx_Event outHistory;  // int: bit 0 undo possible, bit 1 redo possible; fired when either changes
  // empty: the shown pattern changed, by whatever means (playback included), once it is taken in.
  // For those who show the pattern elsewhere: they read it back through getFrame, never keep it.
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
  // Linked from LED i's outChange with index i: the LED changed by itself (a click: value 0, a
  // reset: value 1). Consecutive resets of LEDs are one step.
  void inLedChange(TData* d, std::uint16_t index);

  // Reads the LED states once the accessors are set (the pattern the cube starts with).
  void Init();
  const cube::TPattern& Shown() const { return shown_; }
  const cube::TPatternHistory& History() const { return history_; }
  // What outHistory reports: bit 0 undo possible, bit 1 redo possible.
  std::int32_t HistoryState() const;

 private:
  void Apply(const cube::TPattern& pattern);
  void Settle();
  void Change(const cube::TPattern& pattern);
  void CloseReset();
  void ReportHistory();
  // An undo or a redo: the open step closed, then the pattern the history gives back shown.
  using HistoryStep = std::optional<cube::TPattern> (cube::TPatternHistory::*)(const cube::TPattern&);
  void StepHistory(HistoryStep step);
  // The pattern of the frame string in d, or none after reporting why it is no frame.
  std::optional<cube::TPattern> FrameOf(TData* d);

  cube::TPattern shown_;
  cube::TPattern base_;  // the pattern after the last recorded step
  cube::TPatternHistory history_;
  bool resetOpen_ = false;
  std::int32_t historyState_ = 0;
};
