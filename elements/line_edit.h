// Whole-line edits of the effect text as a code editor makes them: duplicate, move up or down and
// delete the lines under the selection, and put a new line above them. Each comes out as one
// replacement of a range of the text, so that the edit control takes it as one step of its undo.
// Window-free: must never include a window-system header, and must never touch a byte outside
// the lines it works on.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace effect {

// Replace [From, To) of the text by Text, then select [SelStart, SelEnd) of the new text.
struct TLineEdit {
  std::size_t From = 0;
  std::size_t To = 0;
  std::string Text;
  std::size_t SelStart = 0;
  std::size_t SelEnd = 0;
};

// The lines worked on are those the selection [selStart, selEnd) touches (a selection that ends at
// a line's start leaves that line out), or the caret's line. Past the last line break there is no
// line: only InsertLineAbove acts there. Each answers nothing when there is nothing to do (a first
// line moved up, a last one down). New line breaks are CR LF, as the memo's own.
std::optional<TLineEdit> DuplicateLines(std::string_view text, std::size_t selStart, std::size_t selEnd);
std::optional<TLineEdit> MoveLines(std::string_view text, std::size_t selStart, std::size_t selEnd,
                                   bool down);
std::optional<TLineEdit> DeleteLines(std::string_view text, std::size_t selStart, std::size_t selEnd);
// `line` goes in above the first line worked on; the caret ends at the start of the line it
// came before. An empty text gets just the line.
std::optional<TLineEdit> InsertLineAbove(std::string_view text, std::size_t selStart, std::size_t selEnd,
                                         std::string_view line);

// The text after the edit (for tests and callers that keep a copy).
std::string Applied(std::string_view text, const TLineEdit& edit);

}  // namespace effect
