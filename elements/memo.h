// TQxMemo: the multi-line text editor element (the effect text of the editor, one frame per line).
// The text lives only in its edit control. Appending a line costs the same whatever the length of
// the text already there; must never cut a text at the edit control's default size limit.
#pragma once

#include <cstdint>
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
  void DeleteLine(std::int32_t index) override;
  void ReplaceLine(std::int32_t index, std::string_view text) override;
};
