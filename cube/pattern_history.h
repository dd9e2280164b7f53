// TPatternHistory: the bounded undo and redo stacks of cube patterns. Window-free; must never
// include a window-system header. Holds values only: the caller decides what is shown.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "cube/pattern.h"

namespace cube {

class TPatternHistory {
 public:
  static constexpr std::size_t kDefaultCapacity = 256;

  explicit TPatternHistory(std::size_t capacity = kDefaultCapacity);

  // A change is about to leave `before`: it becomes the newest undo step, the redo steps are gone,
  // and the oldest step is forgotten once the capacity is reached.
  void Record(const TPattern& before);
  // The pattern to show instead of `current`, which becomes the newest redo step; none when empty.
  std::optional<TPattern> Undo(const TPattern& current);
  // The pattern to show instead of `current`, which becomes the newest undo step; none when empty.
  std::optional<TPattern> Redo(const TPattern& current);
  void Clear();

  std::size_t UndoCount() const { return undoCount_; }
  std::size_t RedoCount() const { return redo_.size(); }
  std::size_t Capacity() const { return undo_.size(); }

 private:
  void PushUndo(const TPattern& pattern);

  // Ring of undo steps: the newest is at undoTop_ - 1 (mod capacity).
  std::vector<TPattern> undo_;
  std::size_t undoTop_ = 0;
  std::size_t undoCount_ = 0;
  std::vector<TPattern> redo_;  // newest at the back; never longer than the capacity
};

}  // namespace cube
