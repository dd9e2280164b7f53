// TQxGenerator: reads what the dialog starts from, runs it, and makes its insertion in the memo.
#include "elements/generator.h"

#include <windows.h>

#include "cube/pattern.h"
#include "elements/generator_dialog.h"
#include "platform/text_codec.h"

namespace {

// The rate field's value within the player's bounds; its default when the field holds no number.
std::int32_t RateOf(const ByteString& text) {
  std::int32_t rate = 0;
  for (char c : text.view()) {
    if (c < '0' || c > '9' || rate > 100000) return 100;
    rate = rate * 10 + (c - '0');
  }
  if (text.view().empty()) return 100;
  return rate < 20 ? 20 : rate > 2000 ? 2000 : rate;
}

}  // namespace

void TQxGenerator::Insert(const std::string& lines) {
  // Where the caret is now: the text may have changed meanwhile (a save's clearing tick).
  if (Memo->Control == nullptr || Memo->Control->Handle == nullptr) return;
  HWND memo = Memo->Control->Handle;
  Memo->FlushWaitingLines();
  const std::string text = Memo->Control->GetCaption();
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const effect::TInsertion insertion = effect::InsertAfterCaretLine(text, end, lines);
  if (!effect::FitsEffect(text, insertion)) return;
  // One replacement, undo allowed, from an empty undo record: one Ctrl+Z takes it all back.
  SendMessageW(memo, EM_EMPTYUNDOBUFFER, 0, 0);
  SendMessageW(memo, EM_SETSEL, insertion.At, static_cast<LPARAM>(insertion.At));
  SendMessageW(memo, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(WideFromCp1251(insertion.Text).c_str()));
  SendMessageW(memo, EM_SCROLLCARET, 0, 0);
}

void TQxGenerator::inOpen(TData*, std::uint16_t) {
  if (open_ || Memo == nullptr || Memo->Control == nullptr || Memo->Control->Handle == nullptr) return;
  HWND memo = Memo->Control->Handle;
  Memo->FlushWaitingLines();
  TGeneratorRequest request;
  request.Start = cube::ParseFrame(PullStr(nullptr, dataFrame, ByteString()).view()).Pattern;
  request.RateMs = RateOf(PullStr(nullptr, dataRate, ByteString()));
  request.MemoText = Memo->Control->GetCaption();
  DWORD start = 0;
  DWORD end = 0;
  SendMessageW(memo, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  request.Caret = end;
  request.Generator = generator_;
  open_ = true;
  std::optional<std::string> lines;
  {
    TGeneratorDialog dialog(Owner, request);
    lines = dialog.RunModal();
    generator_ = dialog.Generator();
  }
  open_ = false;
  if (lines) Insert(*lines);
  if (Memo->Control != nullptr && Memo->Control->Handle != nullptr) SetFocus(Memo->Control->Handle);
}
