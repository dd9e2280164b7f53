// TPatternHistory: a ring keeps the newest undo steps without moving the older ones.
#include "cube/pattern_history.h"

namespace cube {

TPatternHistory::TPatternHistory(std::size_t capacity) : undo_(capacity == 0 ? 1 : capacity) {
  redo_.reserve(undo_.size());
}

void TPatternHistory::PushUndo(const TPattern& pattern) {
  undo_[undoTop_] = pattern;
  undoTop_ = (undoTop_ + 1) % undo_.size();
  if (undoCount_ < undo_.size()) ++undoCount_;
}

void TPatternHistory::Record(const TPattern& before) {
  PushUndo(before);
  redo_.clear();
}

std::optional<TPattern> TPatternHistory::Undo(const TPattern& current) {
  if (undoCount_ == 0) return std::nullopt;
  undoTop_ = (undoTop_ + undo_.size() - 1) % undo_.size();
  --undoCount_;
  redo_.push_back(current);
  return undo_[undoTop_];
}

std::optional<TPattern> TPatternHistory::Redo(const TPattern& current) {
  if (redo_.empty()) return std::nullopt;
  const TPattern next = redo_.back();
  redo_.pop_back();
  PushUndo(current);
  return next;
}

void TPatternHistory::Clear() {
  undoTop_ = 0;
  undoCount_ = 0;
  redo_.clear();
}

}  // namespace cube
