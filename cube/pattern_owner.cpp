// TPatternOwner: the pattern, its listeners and the order in which changes reach them.
#include "cube/pattern_owner.h"

#include <algorithm>

namespace cube {

void TPatternOwner::Subscribe(TPatternListener listener) {
  if (listener.Code == nullptr) return;
  Unsubscribe(listener.Object);
  listeners_.push_back(listener);
}

void TPatternOwner::Unsubscribe(const void* object) {
  std::erase_if(listeners_, [object](const TPatternListener& l) { return l.Object == object; });
}

void TPatternOwner::Put(const TPattern& next, TPatternCause cause) {
  if (telling_) {
    pending_.push_back({next, cause});
    return;
  }
  telling_ = true;
  Tell(next, cause);
  // Changes asked for while telling, in the order they were asked.
  for (std::size_t i = 0; i < pending_.size(); ++i) {
    const TPending waiting = pending_[i];
    Tell(waiting.Next, waiting.Cause);
  }
  pending_.clear();
  telling_ = false;
}

void TPatternOwner::Tell(const TPattern& next, TPatternCause cause) {
  const TPattern old = pattern_;
  pattern_ = next;
  const TPatternChange change{old, pattern_, old ^ next, cause};
  // A copy: a listener may subscribe or unsubscribe while being told. One that is gone by its turn
  // is not told; one that came is told from the next change on.
  const std::vector<TPatternListener> listeners = listeners_;
  for (const TPatternListener& l : listeners) {
    if (std::ranges::find(listeners_, l.Object, &TPatternListener::Object) == listeners_.end()) continue;
    l.Code(l.Object, change);
  }
}

}  // namespace cube
