// TQxMemo: the multi-line text editor element (the effect text of the editor, one frame per line).
// The text lives in its edit control. Lines added through inAdd in a burst reach the control in
// one update (the control's layout of a long text is slow on some systems); every message that
// reaches the control first brings the waiting lines in, so nobody ever sees the text without
// them. Long lines wrap at the control's edge (the designed look, the system's edit) or run on
// under a horizontal scroll bar (the window library's own no-wrap view, which takes a large text at
// once; both speak the same edit messages). Must never cut a text at the edit control's default size limit,
// and never lose the text when the wrapping changes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "elements/win_list.h"

class TQxMemo : public TQxEWinList {
 public:
  std::uint8_t ScrollBars = 0;  // 0 none, 1 horizontal, 2 vertical, 3 both
  std::uint8_t Editable = 0;    // 0 read-only
  ByteString Text;              // initial text

  using TQxEWinList::TQxEWinList;

  void Init() override;
  void ListFromControl() override;
  // Starts a new line unless the last line is empty, then appends text; answers the line index.
  std::int32_t AddLine(std::string_view text) override;
  std::int32_t AddLineSoon(std::string_view text) override;
  void DeleteLine(std::int32_t index) override;
  void ReplaceLine(std::int32_t index, std::string_view text) override;
  void inClear(TData* d, std::uint16_t index) override;

  // Whether added lines are still waiting to reach the control.
  bool HasWaitingLines() const { return !waiting_.empty(); }
  // Gives the waiting lines to the control now.
  void FlushWaitingLines();

  // Whether long lines wrap (the designed look, and the start) or run on, one line per row.
  bool WordWrap() const { return wordWrap_; }
  // The wrapping is fixed when the window is made, so a change makes its window anew in the
  // same place, keeping the text, the selection, the top line, the modified flag and the focus;
  // only the control's own one-step undo is lost. The control object and its handlers stay.
  void SetWordWrap(bool wrap);

 protected:
  bool DoMessage(TMessage& msg, LRESULT& result) override;

 private:
  bool LastLineEmpty();
  void AppendToControl(const std::string& piece);

  std::string waiting_;  // text to append at the end of the control's text, breaks included
  bool flushing_ = false;
  bool flushPosted_ = false;
  bool wordWrap_ = true;
};
