// TQxPlayer: steps through the frame lines of the effect text on a timer. Each frame goes out as a
// frame string (outShow) with the line it came from (outLine) and the counter text; lines that are
// not frames are skipped. Stop puts back the pattern the cube had before Play; pausing, and ending
// because the user changed something, leave the shown frame and have it recorded (outSettle).
// Window-free: the clock and the one-shot timer are handed in by the form, so it must never include
// a window-system header.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "cube/effect_text.h"
#include "runtime/data.h"

// A monotonic clock in microseconds.
struct TPlayerClock {
  std::int64_t (*Now)(void* self) = nullptr;
  void* Object = nullptr;
};

// A one-shot timer that calls inTick back once after the delay; Arm replaces an armed delay.
struct TPlayerTimer {
  void (*Arm)(void* self, std::int32_t delayMs) = nullptr;
  void (*Disarm)(void* self) = nullptr;
  void* Object = nullptr;
};

class TQxPlayer : public TQxObject {
 public:
  enum TState : std::int32_t { psStopped = 0, psPlaying = 1, psPaused = 2 };
  static constexpr std::int32_t kMinRate = 20;
  static constexpr std::int32_t kMaxRate = 2000;
  static constexpr std::int32_t kDefaultRate = 100;

  TPlayerClock Clock;
  TPlayerTimer Timer;
  std::int32_t Rate = kDefaultRate;  // milliseconds per frame
  std::uint8_t Loop = 0;

  TQx_Event dataText;     // the effect text, read when a session starts
  TQx_Event dataFrame;    // the cube's frame string, read when a session starts
  TQx_Event outShow;      // string: the frame to show (no undo step)
  TQx_Event outSettle;    // empty: record what the cube shows as one step
  TQx_Event outLine;      // int: the 0-based memo line of the frame shown
  TQx_Event outCounter;   // string: "кадр k из n"
  TQx_Event outState;     // int: a TState, fired when it changes
  TQx_Event outRate;      // int: the rate in force after a settled inRate (clamped)
  TQx_Event outLoop;      // int: 0 or 1 after inLoop
  TQx_Event outNoFrames;  // empty: Play or a step found no frame line in the text

  // Play from stopped (first frame) or paused; pause while playing.
  void inPlay(TData* d, std::uint16_t index);
  // Ends the session and puts the earlier pattern back.
  void inStop(TData* d, std::uint16_t index);
  // One frame back or forward; pauses a running session, starts a paused one when stopped.
  void inBack(TData* d, std::uint16_t index);
  void inForward(TData* d, std::uint16_t index);
  // Ends the session, leaving the shown frame on the cube recorded: the user changed the text or
  // the pattern. Index 1: the text changed, so the counter's frame count is taken from d when it
  // holds a number, else read from the text anew.
  void inHalt(TData* d, std::uint16_t index);
  // The text's frames counted anew once typing pauses: shown while stopped. A session running by
  // then began after the edit, on the new text, and keeps its counter.
  void inCount(TData* d, std::uint16_t index);
  // Pauses a running session (a modal box or dialog is about to show); else does nothing.
  void inPause(TData* d, std::uint16_t index);
  // d: milliseconds per frame, clamped to kMinRate..kMaxRate; a text that is no number keeps the
  // rate. Index 0 while the rate is being typed; index 1 when it is settled (Enter, leaving the
  // field), which reports the rate in force through outRate.
  void inRate(TData* d, std::uint16_t index);
  // The rate in force, milliseconds per frame (int), for an export's timing.
  void getRate(TData* d, std::uint16_t index);
  // d: 0 or 1 sets looping; an empty value switches it.
  void inLoop(TData* d, std::uint16_t index);
  // From the timer.
  void inTick(TData* d, std::uint16_t index);

  TState State() const { return state_; }
  // The memo text's line of a play-list entry, as read at the session's start.
  const effect::TLineSpan& LineSpan(std::size_t line) const { return session_->Lines[line]; }
  std::size_t LineCount() const { return session_ ? session_->Lines.size() : 0; }
  // Position in the play list of the frame shown; frames in the list.
  std::size_t Position() const { return position_; }
  std::size_t FrameCount() const { return session_ ? session_->PlayList.size() : 0; }
  // An effect text just split by whoever wrote it into the memo: a session or a count over the
  // same text takes it instead of splitting the text again.
  void Adopt(std::shared_ptr<const effect::TParsedEffect> parsed) { parsed_ = std::move(parsed); }

  static std::string CounterText(std::size_t k, std::size_t n);

 private:
  bool BeginSession();
  void EndSession();
  void ShowPosition();
  void SetState(TState state);
  void Arm();
  void Disarm();
  std::int64_t Now() const;
  void Step(int direction);
  // Paused without settling: a step settles on the frame it moves to instead.
  void Freeze(std::int64_t now);
  void Pause(std::int64_t now);

  TState state_ = psStopped;
  // The effect text split, read anew only when the memo's text is no longer the one split last.
  std::shared_ptr<const effect::TParsedEffect> Parsed();

  std::shared_ptr<const effect::TParsedEffect> parsed_;   // the last text split
  std::shared_ptr<const effect::TParsedEffect> session_;  // the session's, unchanged while it runs
  std::size_t position_ = 0;
  std::int64_t shownTick_ = 0;  // the clock's frame number of the frame shown
  bool finished_ = false;       // paused because the last frame's time ran out
  effect::TPlayClock clock_;
  ByteString before_;  // the cube's frame string before the session
};
