// Whole-line edits: the block of lines under the selection, and one replacement per edit.
#include "elements/line_edit.h"

#include <algorithm>
#include <vector>

#include "cube/effect_text.h"

namespace effect {

namespace {

constexpr std::string_view kBreak = "\r\n";

struct TBlock {
  std::vector<TLineSpan> Lines;
  std::size_t First = 0;  // lines.size() when the caret is past the last line break
  std::size_t Last = 0;
  std::size_t Start(std::size_t i) const { return Lines[i].Start; }
  std::size_t End(std::size_t i) const { return Lines[i].Start + Lines[i].Length; }
  bool Empty() const { return First >= Lines.size(); }
};

TBlock BlockOf(std::string_view text, std::size_t selStart, std::size_t selEnd) {
  TBlock b;
  b.Lines = MemoLines(text);
  if (selEnd < selStart) std::swap(selStart, selEnd);
  selStart = std::min(selStart, text.size());
  selEnd = std::min(selEnd, text.size());
  b.First = LineAt(b.Lines, selStart);
  // A selection that ends at a line's start (or in the break before it) leaves that line out.
  b.Last = selEnd > selStart ? LineAt(b.Lines, selEnd - 1) : b.First;
  if (b.Last >= b.Lines.size()) b.Last = b.Lines.empty() ? 0 : b.Lines.size() - 1;
  if (b.Last < b.First) b.Last = b.First;
  return b;
}

// The selection moved along with a block that now starts `shift` further on (or back).
TLineEdit Shifted(TLineEdit edit, std::size_t selStart, std::size_t selEnd, std::size_t from, std::size_t to,
                  std::size_t textSize) {
  const std::size_t limit = textSize - (edit.To - edit.From) + edit.Text.size();
  edit.SelStart = std::min(selStart - from + to, limit);
  edit.SelEnd = std::min(selEnd - from + to, limit);
  return edit;
}

}  // namespace

std::optional<TLineEdit> DuplicateLines(std::string_view text, std::size_t selStart, std::size_t selEnd) {
  const TBlock b = BlockOf(text, selStart, selEnd);
  if (b.Empty()) return std::nullopt;
  TLineEdit edit;
  edit.From = edit.To = b.Start(b.First);
  edit.Text = std::string(text.substr(b.Start(b.First), b.End(b.Last) - b.Start(b.First)));
  edit.Text += kBreak;
  // The caret goes with the lower copy, as in code editors, so a second press copies again below.
  return Shifted(edit, std::min(selStart, selEnd), std::max(selStart, selEnd), 0, edit.Text.size(),
                 text.size());
}

std::optional<TLineEdit> MoveLines(std::string_view text, std::size_t selStart, std::size_t selEnd,
                                   bool down) {
  const TBlock b = BlockOf(text, selStart, selEnd);
  if (b.Empty()) return std::nullopt;
  if (down ? b.Last + 1 >= b.Lines.size() : b.First == 0) return std::nullopt;
  const std::string_view block = text.substr(b.Start(b.First), b.End(b.Last) - b.Start(b.First));
  TLineEdit edit;
  std::size_t blockAt = 0;
  if (down) {
    const std::size_t next = b.Last + 1;
    const std::string_view other = text.substr(b.Start(next), b.Lines[next].Length);
    edit.From = b.Start(b.First);
    edit.To = b.End(next);
    edit.Text = std::string(other) + std::string(kBreak) + std::string(block);
    blockAt = edit.From + other.size() + kBreak.size();
  } else {
    const std::size_t previous = b.First - 1;
    const std::string_view other = text.substr(b.Start(previous), b.Lines[previous].Length);
    edit.From = b.Start(previous);
    edit.To = b.End(b.Last);
    edit.Text = std::string(block) + std::string(kBreak) + std::string(other);
    blockAt = edit.From;
  }
  const std::size_t low = std::clamp(std::min(selStart, selEnd), b.Start(b.First), b.End(b.Last));
  const std::size_t high = std::clamp(std::max(selStart, selEnd), b.Start(b.First), b.End(b.Last));
  return Shifted(edit, low, high, b.Start(b.First), blockAt, text.size());
}

std::optional<TLineEdit> DeleteLines(std::string_view text, std::size_t selStart, std::size_t selEnd) {
  const TBlock b = BlockOf(text, selStart, selEnd);
  if (b.Empty()) return std::nullopt;
  TLineEdit edit;
  const bool breakAfter = b.Last + 1 < b.Lines.size() || b.End(b.Last) < text.size();
  if (breakAfter || b.First == 0) {
    // The lines with the break after them; a last line without one takes everything to the end.
    edit.From = b.Start(b.First);
    edit.To = b.Last + 1 < b.Lines.size() ? b.Start(b.Last + 1) : text.size();
    edit.SelStart = edit.SelEnd = edit.From;
  } else {
    // The last line has no break after it: the one before it goes instead, so no empty line stays.
    edit.From = b.End(b.First - 1);
    edit.To = text.size();
    edit.SelStart = edit.SelEnd = b.Start(b.First - 1);
  }
  return edit;
}

std::optional<TLineEdit> InsertLineAbove(std::string_view text, std::size_t selStart, std::size_t selEnd,
                                         std::string_view line) {
  const TBlock b = BlockOf(text, selStart, selEnd);
  TLineEdit edit;
  edit.From = edit.To = b.Empty() ? text.size() : b.Start(b.First);
  edit.Text = std::string(line);
  if (!text.empty()) edit.Text += kBreak;
  edit.SelStart = edit.SelEnd = edit.From + edit.Text.size();
  return edit;
}

std::string Applied(std::string_view text, const TLineEdit& edit) {
  std::string result(text.substr(0, edit.From));
  result += edit.Text;
  result += text.substr(edit.To);
  return result;
}

}  // namespace effect
