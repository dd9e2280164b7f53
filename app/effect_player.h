// The effect workbench's controls on the editor form: opening an effect, bringing a memo line back
// onto the cube, writing the frame back, and the player with its controls in the strip above the
// layers. Made after the designed elements and counted apart from them; it changes none of them,
// only links from their outputs, adds its keys to the form's key map and listens to the changes of
// the memo and the frame line beside their own handlers.
//
// Shortcuts (none is a key an edit control or the focus navigation uses):
//   Ctrl+O open an effect, F2 the caret's line onto the cube, F3 replace the frame's line,
//   F5 play / pause, F6 stop, F7 one frame back, F8 one frame forward, F9 loop on / off,
//   Ctrl+R to the rate field, F4 long lines wrapped or not.
#pragma once

#include <cstdint>

#include "app/effect_file.h"
#include "elements/button.h"
#include "elements/cube_pattern_element.h"
#include "elements/edit.h"
#include "elements/label.h"
#include "elements/memo.h"
#include "elements/player.h"
#include "elements/stored_value.h"

class TClassMainForm_1509590;
class TFrameTimer;
class TFormKeys;

// Shows the player's state on its controls: the play button's caption, the loop button's, the
// counter, and the message when the text holds no frame.
class TQxPlayerFace : public TQxObject {
 public:
  TQxButton* PlayButton = nullptr;
  TQxButton* LoopButton = nullptr;
  TQxLabel* Counter = nullptr;
  TControl* Owner = nullptr;
  TQxEdit* Rate = nullptr;
  TQx_Event outRate;  // string: the rate field's text when the field is left or Play is asked
  TQx_Event outPlay;  // after outRate
  TQx_Event outHalt;  // empty: a key that acts reached the effect text

  // The rate field lost the focus: what it holds is the settled rate (a blur carries no text).
  void inRateLeft(TData* d, std::uint16_t index);
  // Play or pause asked: a rate typed but not yet settled (F5 pressed in the field) plays too.
  void inPlay(TData* d, std::uint16_t index);
  // Ctrl+R: to the rate field, its text selected for typing over.
  void inFocusRate(TData* d, std::uint16_t index);

  void inState(TData* d, std::uint16_t index);
  void inLoop(TData* d, std::uint16_t index);
  void inCounter(TData* d, std::uint16_t index);
  void inNoFrames(TData* d, std::uint16_t index);
  // d: a key pressed in the effect text. Playback ends before the key acts there; a modifier held
  // for a shortcut acts on nothing.
  void inTextKey(TData* d, std::uint16_t index);

  // d: whether the effect text's lines wrap: the wrap button's caption.
  void inWrap(TData* d, std::uint16_t index);

  TQxButton* WrapButton = nullptr;
};

class TEffectPlayerPanel {
 public:
  // `pattern` is the form's pattern element (the LEDs' state); the form outlives the panel.
  TEffectPlayerPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern);
  ~TEffectPlayerPanel();
  TEffectPlayerPanel(const TEffectPlayerPanel&) = delete;
  TEffectPlayerPanel& operator=(const TEffectPlayerPanel&) = delete;

  // Top strip.
  TQxButton* PlayButton = nullptr;
  TQxButton* StopButton = nullptr;
  TQxButton* BackButton = nullptr;
  TQxButton* ForwardButton = nullptr;
  TQxEdit* RateEdit = nullptr;
  TQxLabel* RateLabel = nullptr;
  TQxButton* LoopButton = nullptr;
  TQxLabel* CounterLabel = nullptr;
  // Under the effect text.
  TQxButton* OpenButton = nullptr;
  TQxButton* ReplaceButton = nullptr;
  TQxButton* BringButton = nullptr;
  TQxButton* WrapButton = nullptr;
  // Non-visual.
  TQxEffectFile* EffectFile = nullptr;
  TQxPlayer* Player = nullptr;
  TQxPlayerFace* Face = nullptr;
  TQxStoredValue* WrapChoice = nullptr;  // the user's wrapping, kept between runs

  int ElementCount() const { return 16; }
  int LinkCount() const { return linkCount_; }

  // The panel's keys, in the form's key map.
  void AddKeys(TFormKeys& keys);

 private:
  void MakeStrip(TControl* parent);
  std::int32_t MakeDesk(TControl* parent);
  void MakeElements(TClassMainForm_1509590& form);
  void LinkFile(TClassMainForm_1509590& form);
  void LinkPlayer();
  void LinkPattern();
  void Link(TQx_Event& output, const TQx_Event& input);
  void MemoChanged();
  static void MemoChange(void* data, TObj* sender);
  static void TimerTick(void* data, TObj* sender);
  static void CountTick(void* data, TObj* sender);
  static void FrameChange(void* data, TObj* sender);
  static void ArmTimer(void* data, std::int32_t ms);
  TFrameTimer& LazyTimer(TFrameTimer*& timer, void (*tick)(void*, TObj*));
  static void DisarmTimer(void* data);
  static std::int64_t ClockNow(void* data);

  TClassMainForm_1509590& form_;
  TQxCubePattern* pattern_;
  TFrameTimer* timer_ = nullptr;       // the player's one-shot timer
  TFrameTimer* countTimer_ = nullptr;  // counts the frames once typing in the effect text pauses
  int linkCount_ = 0;
};
