// TQxCubePattern: every change of the pattern is one Put on the owner, whose followers (the
// recorder first) take it in; the pins that follow from it are fired once they all have.
#include "elements/cube_pattern_element.h"

namespace {

using cube::TPatternCause;

bool IsShift(std::int32_t code) {
  return code >= TQxCubePattern::ctShiftXMinus && code <= TQxCubePattern::ctWrapShiftZPlus;
}

// The pattern a transform code makes of `shown`; none for an unknown code.
std::optional<cube::TPattern> Transformed(const cube::TPattern& shown, std::int32_t code) {
  using cube::TAxis;
  if (IsShift(code)) {
    const int n = (code - TQxCubePattern::ctShiftXMinus) % 6;
    return cube::Shift(shown, static_cast<TAxis>(n / 2), n % 2 == 0 ? -1 : 1,
                       code >= TQxCubePattern::ctWrapShiftXMinus);
  }
  switch (code) {
    case TQxCubePattern::ctRotateZ:
      return cube::RotateZ(shown);
    case TQxCubePattern::ctMirrorX:
      return cube::Mirror(shown, TAxis::X);
    case TQxCubePattern::ctMirrorY:
      return cube::Mirror(shown, TAxis::Y);
    case TQxCubePattern::ctMirrorZ:
      return cube::Mirror(shown, TAxis::Z);
    case TQxCubePattern::ctInvert:
      return cube::Invert(shown);
    case TQxCubePattern::ctLightAll:
      return cube::AllLit();
    default:
      return std::nullopt;
  }
}

}  // namespace

TQxCubePattern::TQxCubePattern() { owner_.Subscribe(recorder_.Listener()); }

void TQxCubePattern::Put(const cube::TPattern& pattern, TPatternCause cause) {
  const bool changes = pattern != owner_.Pattern();
  // The LEDs a reset darkens after the first join its step: the user was told at the first.
  const bool joinsReset = cause == TPatternCause::Reset && recorder_.ResetOpen();
  owner_.Put(pattern, cause);
  if (changes) FireEmpty(outChange);
  if (cause == TPatternCause::Show || joinsReset) return;
  ReportHistory();
  if (cause != TPatternCause::Frame) FireEmpty(outUserChange);
}

std::int32_t TQxCubePattern::HistoryState() const {
  const cube::TPatternHistory& history = recorder_.History();
  return (history.UndoCount() > 0 ? 1 : 0) | (history.RedoCount() > 0 ? 2 : 0);
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
  if (const std::optional<cube::TPattern> pattern = FrameOf(d)) Put(*pattern, TPatternCause::Frame);
}

void TQxCubePattern::inShow(TData* d, std::uint16_t) {
  if (const std::optional<cube::TPattern> pattern = FrameOf(d)) Put(*pattern, TPatternCause::Show);
}

void TQxCubePattern::inSettle(TData*, std::uint16_t) {
  recorder_.Settle(owner_.Pattern());
  ReportHistory();
}

void TQxCubePattern::inUndo(TData*, std::uint16_t) {
  StepHistory(&cube::TPatternRecorder::Undo, TPatternCause::Undo);
}

void TQxCubePattern::inRedo(TData*, std::uint16_t) {
  StepHistory(&cube::TPatternRecorder::Redo, TPatternCause::Redo);
}

void TQxCubePattern::StepHistory(HistoryStep step, TPatternCause cause) {
  const std::optional<cube::TPattern> target = (recorder_.*step)(owner_.Pattern());
  if (target) Put(*target, cause);
}

void TQxCubePattern::inTransform(TData* d, std::uint16_t) {
  if (const std::optional<cube::TPattern> next = Transformed(owner_.Pattern(), AsInt(d)))
    Put(*next, TPatternCause::Transform);
}

void TQxCubePattern::getFrame(TData* d, std::uint16_t) {
  MakeStr(d, ByteString(cube::FormatFrame(owner_.Pattern())));
}

void TQxCubePattern::inLedChange(TData* d, std::uint16_t index) {
  if (index >= cube::kLedCount) return;
  cube::TPattern next = owner_.Pattern();
  const bool off = AsInt(d) == lcOff;
  if (off && !next.test(index)) return;  // a dark LED ignores the reset
  next.set(index, off ? false : !next.test(index));
  Put(next, off ? TPatternCause::Reset : TPatternCause::Click);
}
