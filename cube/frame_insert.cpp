// The insertion after the caret's line, by the memo's own line breaks (CR or CR LF), never by the
// rows the edit control wraps a long line into.
#include "cube/frame_insert.h"

#include <algorithm>
#include <vector>

#include "cube/effect_text.h"

namespace effect {

TInsertion InsertAfterCaretLine(std::string_view memoText, std::size_t caret, std::string_view lines) {
  TInsertion insertion;
  const std::vector<TLineSpan> spans = MemoLines(memoText);
  const std::size_t line = LineAt(spans, std::min(caret, memoText.size()));
  if (line + 1 < spans.size()) {
    insertion.At = spans[line + 1].Start;
    insertion.Text = std::string(lines);
    return insertion;
  }
  // The last line: after its line end, or after one added for it when it has none. The frames
  // then end without one, as the text they join did.
  std::string_view body = lines;
  if (body.size() >= 2 && body.substr(body.size() - 2) == "\r\n") body.remove_suffix(2);
  const bool ended = line >= spans.size() || spans[line].Start + spans[line].Length < memoText.size();
  insertion.At = memoText.size();
  insertion.Text = ended ? std::string(body) : "\r\n" + std::string(body);
  return insertion;
}

bool FitsEffect(std::string_view memoText, const TInsertion& insertion) {
  std::string joined;
  joined.reserve(memoText.size() + insertion.Text.size());
  joined.append(memoText.substr(0, insertion.At))
      .append(insertion.Text)
      .append(memoText.substr(insertion.At));
  const std::vector<TLineSpan> spans = MemoLines(joined);
  std::size_t saved = 0;
  for (const TLineSpan& span : spans) {
    if (span.Length > kMaxLineBytes) return false;
    saved += span.Length + 2;
  }
  return saved <= kMaxEffectBytes;
}

}  // namespace effect
