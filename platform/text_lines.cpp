#include "platform/text_lines.h"

#include <algorithm>
#include <utility>

namespace {

// Appends the start of every line that begins after a CR LF inside [from, to) of `text`.
void CollectStarts(const std::u16string& text, std::size_t from, std::size_t to,
                   std::vector<std::size_t>& out) {
  const std::size_t last = std::min(to, text.size());
  for (std::size_t i = from; i < last && i + 1 < text.size(); ++i)
    if (text[i] == u'\r' && text[i + 1] == u'\n') out.push_back(i + 2);
}

}  // namespace

void TTextLines::SetText(std::u16string_view text) {
  text_.assign(text);
  starts_.clear();
  starts_.reserve(text_.size() / 16 + 1);
  starts_.push_back(0);
  CollectStarts(text_, 0, text_.size(), starts_);
  longestKnown_ = false;
  EmptyUndo();
}

std::size_t TTextLines::LineStart(std::size_t line) const {
  return line < starts_.size() ? starts_[line] : text_.size();
}

std::size_t TTextLines::LineLength(std::size_t line) const {
  if (line >= starts_.size()) return 0;
  // Every line but the last ends in the two characters of its break.
  const std::size_t end = line + 1 < starts_.size() ? starts_[line + 1] - 2 : text_.size();
  return end - starts_[line];
}

std::u16string_view TTextLines::Line(std::size_t line) const {
  if (line >= starts_.size()) return {};
  return std::u16string_view(text_).substr(starts_[line], LineLength(line));
}

std::size_t TTextLines::LineFromChar(std::size_t offset) const {
  const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
  return static_cast<std::size_t>(after - starts_.begin()) - 1;
}

std::size_t TTextLines::LongestLineLength() const {
  if (!longestKnown_) {
    longest_ = 0;
    longestLine_ = 0;
    for (std::size_t line = 0; line < starts_.size(); ++line) {
      const std::size_t length = LineLength(line);
      if (length > longest_) {
        longest_ = length;
        longestLine_ = line;
      }
    }
    longestKnown_ = true;
  }
  return longest_;
}

std::size_t TTextLines::LongestLine() const {
  LongestLineLength();
  return longestLine_;
}

std::size_t TTextLines::Replace(std::size_t from, std::size_t to, std::u16string_view text, bool canUndo) {
  if (from > to) std::swap(from, to);
  from = std::min(from, text_.size());
  to = std::min(to, text_.size());
  if (from == to && text.empty()) return from;
  if (!canUndo)
    EmptyUndo();
  else if (from != to)
    RememberRemoval(from, to);
  // The lines around the change are indexed anew: one before it, since a CR LF may form or break
  // at its edges, and one after the line where it ends, whose break is left untouched.
  const std::size_t firstLine = std::max<std::size_t>(LineFromChar(from), 1) - 1;
  const std::size_t oldEnd = LineStart(std::min(LineFromChar(to) + 2, starts_.size()));
  text_.replace(from, to - from, text);
  const auto delta = static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(to - from);
  Reindex(firstLine, oldEnd, static_cast<std::size_t>(static_cast<std::ptrdiff_t>(oldEnd) + delta), delta);
  if (canUndo) RememberInsertion(from, text.size());
  return from + text.size();
}

void TTextLines::Reindex(std::size_t firstLine, std::size_t oldEnd, std::size_t newEnd,
                         std::ptrdiff_t delta) {
  // Old starts after the first line up to oldEnd give way to those found in the new text.
  const auto begin = starts_.begin() + static_cast<std::ptrdiff_t>(firstLine) + 1;
  const auto end = std::upper_bound(begin, starts_.end(), oldEnd);
  const std::size_t lastOld = static_cast<std::size_t>(end - starts_.begin());
  std::vector<std::size_t> fresh;
  CollectStarts(text_, starts_[firstLine], newEnd, fresh);
  const std::ptrdiff_t lineDelta =
      static_cast<std::ptrdiff_t>(fresh.size()) - static_cast<std::ptrdiff_t>(lastOld - firstLine - 1);
  if (longestKnown_) {
    if (longestLine_ >= firstLine && longestLine_ < lastOld)
      longestKnown_ = false;  // the longest line may have got shorter
    else if (longestLine_ >= lastOld)
      longestLine_ = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(longestLine_) + lineDelta);
  }
  const auto at = starts_.erase(begin, end);
  const auto after =
      starts_.insert(at, fresh.begin(), fresh.end()) + static_cast<std::ptrdiff_t>(fresh.size());
  for (auto it = after; it != starts_.end(); ++it)
    *it = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(*it) + delta);
  if (!longestKnown_) return;
  for (std::size_t line = firstLine; line <= firstLine + fresh.size(); ++line) {
    if (LineLength(line) > longest_) {
      longest_ = LineLength(line);
      longestLine_ = line;
    }
  }
}

void TTextLines::RememberRemoval(std::size_t from, std::size_t to) {
  const std::u16string_view removed = std::u16string_view(text_).substr(from, to - from);
  const bool deleting = undoInserted_ == 0 && !undoText_.empty();
  if (deleting && from == undoAt_) {
    undoText_.append(removed);  // Delete, on to the right
  } else if (deleting && to == undoAt_) {
    undoText_.insert(0, removed);  // Backspace, on to the left
    undoAt_ = from;
  } else {
    undoText_.assign(removed);
    undoAt_ = from;
  }
  // A deletion ends the run of typing before it.
  undoInserted_ = 0;
}

void TTextLines::RememberInsertion(std::size_t at, std::size_t count) {
  if (count == 0) return;
  if (at == undoAt_ || (undoInserted_ != 0 && at == undoAt_ + undoInserted_)) {
    undoInserted_ += count;
  } else {
    undoAt_ = at;
    undoInserted_ = count;
    undoText_.clear();
  }
}

void TTextLines::EmptyUndo() {
  undoText_.clear();
  undoAt_ = 0;
  undoInserted_ = 0;
}

bool TTextLines::Undo(std::size_t& selStart, std::size_t& selEnd) {
  if (!CanUndo()) return false;
  const std::u16string putBack = std::move(undoText_);
  const std::size_t at = undoAt_;
  const std::size_t count = undoInserted_;
  EmptyUndo();
  // Made as an undoable replacement of its own, so the next undo takes this one back.
  Replace(at, at + count, putBack, true);
  selStart = at;
  selEnd = at + putBack.size();
  return true;
}
