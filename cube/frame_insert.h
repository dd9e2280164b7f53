// Where generated frames go in the effect text and whether the effect can take them. Window-free;
// must never change a byte of the text around the insertion.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace effect {

// Insert Text at offset At, replacing nothing.
struct TInsertion {
  std::size_t At = 0;
  std::string Text;
};

// The frames (`lines`: each line followed by CR LF, as gen::FramesText gives them) as new lines right
// after the line that holds offset `caret` of the memo text. A last line without a line end gets
// one first; after the last line the frames end without one, as the text did.
TInsertion InsertAfterCaretLine(std::string_view memoText, std::size_t caret, std::string_view lines);

// Whether the effect, once saved, stays within what opening a file accepts (kMaxEffectBytes and
// kMaxLineBytes of effect_text.h).
bool FitsEffect(std::string_view memoText, const TInsertion& insertion);

}  // namespace effect
