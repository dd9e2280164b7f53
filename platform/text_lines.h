// TTextLines: a text held as UTF-16 with an index of its line starts, for a text view that must take
// a 4 MB effect in a few tens of milliseconds. Positions are character offsets counted as a
// multi-line edit control counts them: only CR LF ends a line and counts two characters, a lone CR
// or LF is an ordinary character. Undo is the control's one-step undo: a run of typing, or one
// replacement, taken back at once, and taken back again (redo) by the next undo.
// Window-free (tested natively); must never scan the whole text for an edit of one place, except to build the
// index.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TTextLines {
 public:
  // Replaces the whole text; the undo step is forgotten.
  void SetText(std::u16string_view text);
  const std::u16string& Text() const { return text_; }
  std::size_t Length() const { return text_.size(); }

  // At least one line: an empty text, or a text ending in CR LF, has an empty last line.
  std::size_t LineCount() const { return starts_.size(); }
  // Offset of the line's first character; past the last line, the text's length.
  std::size_t LineStart(std::size_t line) const;
  // Characters of the line without its break.
  std::size_t LineLength(std::size_t line) const;
  std::u16string_view Line(std::size_t line) const;
  // The line holding an offset; an offset inside a line break belongs to the line it ends, one
  // past the text to the last line.
  std::size_t LineFromChar(std::size_t offset) const;
  // The most characters any line holds (for the horizontal extent), and one such line.
  std::size_t LongestLineLength() const;
  std::size_t LongestLine() const;

  // Puts `text` in place of [from, to) (either order, clamped to the text). With canUndo the
  // change joins the undo step as the edit control's would: typing on at the end of the last
  // insertion, or deleting on at either side of the last deletion, extends it; anything else
  // starts a new step. Without canUndo the step is forgotten. Answers the end of the new text.
  std::size_t Replace(std::size_t from, std::size_t to, std::u16string_view text, bool canUndo);

  bool CanUndo() const { return undoInserted_ != 0 || !undoText_.empty(); }
  void EmptyUndo();
  // Takes the step back, making its reverse the new step; `selStart`..`selEnd` is then the text
  // put back. False (nothing changed) when there is no step.
  bool Undo(std::size_t& selStart, std::size_t& selEnd);

 private:
  void Reindex(std::size_t firstLine, std::size_t oldEnd, std::size_t newEnd, std::ptrdiff_t delta);
  void RememberRemoval(std::size_t from, std::size_t to);
  void RememberInsertion(std::size_t at, std::size_t count);

  std::u16string text_;
  std::vector<std::size_t> starts_{0};
  // The longest line is found again only when a change may have shortened it.
  mutable std::size_t longest_ = 0;
  mutable std::size_t longestLine_ = 0;
  mutable bool longestKnown_ = true;
  // The undo step: what was removed at undoAt_, and how many characters were inserted there.
  std::u16string undoText_;
  std::size_t undoAt_ = 0;
  std::size_t undoInserted_ = 0;
};
