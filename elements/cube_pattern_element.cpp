// TQxCubePattern: every change of the pattern goes through Apply, which touches only the LEDs that
// change and has the frame graph brought in line once; every recorded change goes through Change.
#include "elements/cube_pattern_element.h"

namespace {

enum : std::int32_t { kClickChange = 0, kResetChange = 1 };

}  // namespace

void TQxCubePattern::Init() {
  shown_.reset();
  for (std::size_t i = 0; i < Leds.size(); ++i) {
    const TCubeLedAccess& led = Leds[i];
    if (led.State != nullptr && *led.State != 0) shown_.set(i);
  }
  base_ = shown_;
}

void TQxCubePattern::Apply(const cube::TPattern& pattern) {
  const cube::TPattern changed = shown_ ^ pattern;
  for (std::size_t i = changed._Find_first(); i < changed.size(); i = changed._Find_next(i)) {
    const TCubeLedAccess& led = Leds[i];
    if (led.State == nullptr) continue;
    *led.State = pattern.test(i) ? 1 : 0;
    if (led.Repaint != nullptr) led.Repaint(led.Led);
  }
  shown_ = pattern;
  if (PaintNow.Code != nullptr && changed.any()) PaintNow.Code(PaintNow.Object, changed);
  // Even with nothing changed the frame line is set: it may hold text the user typed.
  if (FrameSync.Code != nullptr) FrameSync.Code(FrameSync.Object, changed);
  if (changed.any()) FireEmpty(outChange);
}

void TQxCubePattern::CloseReset() { resetOpen_ = false; }

// Leaves an open reset open: a settle that records nothing (as one asked for while a reset is
// under way) must not split the reset into two steps.
void TQxCubePattern::Settle() {
  if (shown_ == base_) return;
  history_.Record(base_);
  base_ = shown_;
}

void TQxCubePattern::Change(const cube::TPattern& pattern) {
  CloseReset();
  Settle();
  if (pattern != shown_) {
    history_.Record(shown_);
    base_ = pattern;
  }
  Apply(pattern);
  ReportHistory();
}

std::int32_t TQxCubePattern::HistoryState() const {
  return (history_.UndoCount() > 0 ? 1 : 0) | (history_.RedoCount() > 0 ? 2 : 0);
}

void TQxCubePattern::ReportHistory() {
  const std::int32_t state = HistoryState();
  if (state == historyState_) return;
  historyState_ = state;
  FireInt(outHistory, state);
}

std::optional<cube::TPattern> TQxCubePattern::FrameOf(TData* d) {
  const cube::TFrameParse parsed = cube::ParseFrame(AsStr(d).view());
  if (parsed.Ok()) return parsed.Pattern;
  FireStr(outFault, cube::FrameFaultText(parsed.Fault));
  return std::nullopt;
}

void TQxCubePattern::inFrame(TData* d, std::uint16_t) {
  if (const std::optional<cube::TPattern> pattern = FrameOf(d)) Change(*pattern);
}

void TQxCubePattern::inShow(TData* d, std::uint16_t) {
  const std::optional<cube::TPattern> pattern = FrameOf(d);
  if (!pattern) return;
  CloseReset();
  Apply(*pattern);
}

void TQxCubePattern::inSettle(TData*, std::uint16_t) {
  Settle();
  ReportHistory();
}

void TQxCubePattern::inUndo(TData*, std::uint16_t) { StepHistory(&cube::TPatternHistory::Undo); }

void TQxCubePattern::inRedo(TData*, std::uint16_t) { StepHistory(&cube::TPatternHistory::Redo); }

void TQxCubePattern::StepHistory(HistoryStep step) {
  CloseReset();
  Settle();
  const std::optional<cube::TPattern> target = (history_.*step)(shown_);
  if (!target) return;
  base_ = *target;
  Apply(*target);
  ReportHistory();
  FireEmpty(outUserChange);
}

void TQxCubePattern::inTransform(TData* d, std::uint16_t) {
  using cube::TAxis;
  const std::int32_t code = AsInt(d);
  cube::TPattern next;
  switch (code) {
    case ctShiftXMinus:
    case ctShiftXPlus:
    case ctShiftYMinus:
    case ctShiftYPlus:
    case ctShiftZMinus:
    case ctShiftZPlus:
    case ctWrapShiftXMinus:
    case ctWrapShiftXPlus:
    case ctWrapShiftYMinus:
    case ctWrapShiftYPlus:
    case ctWrapShiftZMinus:
    case ctWrapShiftZPlus: {
      const int n = (code - ctShiftXMinus) % 6;
      next = cube::Shift(shown_, static_cast<TAxis>(n / 2), n % 2 == 0 ? -1 : 1, code >= ctWrapShiftXMinus);
      break;
    }
    case ctRotateZ:
      next = cube::RotateZ(shown_);
      break;
    case ctMirrorX:
      next = cube::Mirror(shown_, TAxis::X);
      break;
    case ctMirrorY:
      next = cube::Mirror(shown_, TAxis::Y);
      break;
    case ctMirrorZ:
      next = cube::Mirror(shown_, TAxis::Z);
      break;
    case ctInvert:
      next = cube::Invert(shown_);
      break;
    case ctLightAll:
      next = cube::AllLit();
      break;
    default:
      return;
  }
  Change(next);
  FireEmpty(outUserChange);
}

void TQxCubePattern::getFrame(TData* d, std::uint16_t) { MakeStr(d, ByteString(cube::FormatFrame(shown_))); }

void TQxCubePattern::inLedChange(TData* d, std::uint16_t index) {
  if (index >= cube::kLedCount) return;
  const TCubeLedAccess& led = Leds[index];
  const bool lit = led.State != nullptr && *led.State != 0;
  if (shown_.test(index) == lit) return;  // nothing this element does not know already
  // The reset reaches the LEDs one by one: the first one opens the step, the rest join it.
  const bool joinsReset = AsInt(d) == kResetChange && resetOpen_;
  if (!joinsReset) {
    Settle();
    history_.Record(shown_);
    resetOpen_ = AsInt(d) == kResetChange;
  }
  shown_.set(index, lit);
  base_ = shown_;
  FireEmpty(outChange);
  if (joinsReset) return;
  ReportHistory();
  FireEmpty(outUserChange);
}
