// TQxMemoLines: the memo's text and selection read, the line edit made in one EM_REPLACESEL.
#include "elements/memo_lines.h"

#include <windows.h>

#include "platform/text_codec.h"

std::optional<TQxMemoLines::TSelected> TQxMemoLines::Read() const {
  if (Memo == nullptr || Memo->Control == nullptr || Memo->Control->Handle == nullptr) return std::nullopt;
  Memo->FlushWaitingLines();
  TSelected selected;
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(Memo->Control->Handle, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
               reinterpret_cast<LPARAM>(&end));
  selected.Text = Memo->Control->GetCaption();
  selected.Start = start;
  selected.End = end;
  return selected;
}

void TQxMemoLines::Apply(const std::optional<effect::TLineEdit>& edit) const {
  if (!edit || Memo == nullptr || Memo->Control == nullptr || Memo->Control->Handle == nullptr) return;
  HWND memo = Memo->Control->Handle;
  // One replacement, undo allowed: the control's one-step undo then takes the whole edit back.
  // Its undo record starts empty, or the control would join a deletion to one that ended at the
  // same place (as it does for repeated Delete keys) and undo both.
  SendMessageW(memo, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(memo, EM_SETSEL, edit->From, static_cast<LPARAM>(edit->To));
  const TWideString text = WideFromCp1251(edit->Text);
  SendMessageW(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));
  SendMessageW(memo, EM_SETSEL, edit->SelStart, static_cast<LPARAM>(edit->SelEnd));
  SendMessageW(memo, EM_SCROLLCARET, 0, 0);
  // After a button the work goes on in the text, where the caret shows and Ctrl+Z undoes.
  SetFocus(memo);
}

void TQxMemoLines::inDuplicate(TData*, std::uint16_t) {
  if (const auto s = Read()) Apply(effect::DuplicateLines(s->Text, s->Start, s->End));
}

void TQxMemoLines::inMoveUp(TData*, std::uint16_t) {
  if (const auto s = Read()) Apply(effect::MoveLines(s->Text, s->Start, s->End, false));
}

void TQxMemoLines::inMoveDown(TData*, std::uint16_t) {
  if (const auto s = Read()) Apply(effect::MoveLines(s->Text, s->Start, s->End, true));
}

void TQxMemoLines::inDelete(TData*, std::uint16_t) {
  if (const auto s = Read()) Apply(effect::DeleteLines(s->Text, s->Start, s->End));
}

void TQxMemoLines::inInsertFrame(TData*, std::uint16_t) {
  const ByteString frame = PullStr(nullptr, dataFrame, ByteString());
  if (frame.view().empty()) return;
  if (const auto s = Read()) Apply(effect::InsertLineAbove(s->Text, s->Start, s->End, frame.view()));
}
