// TQxMemoLines: whole-line edits of a memo's text as its pins ask for them: duplicate, move up or
// down and delete the lines under the selection, and insert the cube's frame above them. Each is
// one replacement with undo allowed, so one Ctrl+Z in the memo takes it back. Must never change a
// byte outside the lines it works on, nor the memo's text when there is nothing to do.
#pragma once

#include <cstdint>
#include <optional>

#include "elements/line_edit.h"
#include "elements/memo.h"

class TQxMemoLines : public TQxObject {
 public:
  TQxMemo* Memo = nullptr;
  TQx_Event dataFrame;  // the cube's frame string, read by inInsertFrame

  void inDuplicate(TData* d, std::uint16_t index);
  void inMoveUp(TData* d, std::uint16_t index);
  void inMoveDown(TData* d, std::uint16_t index);
  void inDelete(TData* d, std::uint16_t index);
  void inInsertFrame(TData* d, std::uint16_t index);

 private:
  struct TSelected {
    std::string Text;
    std::size_t Start = 0;
    std::size_t End = 0;
  };
  // The memo's text and selection; nothing while the memo has no window.
  std::optional<TSelected> Read() const;
  void Apply(const std::optional<effect::TLineEdit>& edit) const;
};
