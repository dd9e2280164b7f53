// TQxEdit: the edit control, the change report with its arming flag, the Enter key and inText.
#include "elements/edit.h"

namespace {

bool OwnText(void* self, TData* d) {
  const TControl* control = static_cast<TQxEdit*>(self)->Control;
  MakeStr(d, control != nullptr ? ByteString(control->GetCaption()) : ByteString());
  return true;
}

}  // namespace

void EditChangeProc(void* data, TObj*) { static_cast<TQxEdit*>(data)->TextChanged(); }

TTextSource TQxEdit::OwnTextSource() { return {&OwnText, this}; }

void TQxEdit::getText(TData* d, std::uint16_t) {
  MakeStr(d, Control != nullptr ? ByteString(Control->GetCaption()) : Text);
}

void TQxEdit::TextChanged() {
  if (ChangeArmed != 0 && TextSource.Code != nullptr) {
    TData value;
    if (TextSource.Code(TextSource.Object, &value)) FireSame(outChange, &value);
  }
  ChangeArmed = 1;
}

void TQxEdit::SetTextQuietly(std::string_view text) {
  ChangeArmed = 0;
  Control->SetCaption(text);
  // The control may stay silent when the text does not change; the next change must be reported
  // all the same.
  ChangeArmed = 1;
}

void TQxEdit::inText(TData* d, std::uint16_t) {
  if (Control == nullptr) return;
  DWORD caret = 0;
  if (Control->Handle != nullptr)
    SendMessageW(Control->Handle, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
  const ByteString text = PullStr(d, dataText, ByteString());
  writing_ = true;
  Control->SetCaption(text.view());
  writing_ = false;
  if (Control->Handle != nullptr) SendMessageW(Control->Handle, EM_SETSEL, caret, static_cast<LPARAM>(caret));
}

void TQxEdit::Init() {
  std::uint32_t options = 0;
  if (Password != 0) options |= eoPassword;
  if (ReadOnly != 0) options |= eoReadOnly;
  if (HideSelection == 0) options |= eoNoHideSelection;
  Control = CreateEdit(ParentControl, options);
  Control->SetTextAlign(TextAlign);
  CommonInit();
  if (Control->Handle != nullptr)
    SendMessageW(Control->Handle, EM_LIMITTEXT, static_cast<WPARAM>(MaxLength), 0);
  Control->SetOnChange({&EditChangeProc, this});
  SetTextQuietly(Text.view());
}

void TQxEdit::DoKeyDown(std::int32_t& key, std::int32_t shift) {
  if (!outEnter.Connected() || key != VK_RETURN) {
    TQxWin::DoKeyDown(key, shift);
    return;
  }
  TData value;
  if (TextSource.Code != nullptr && TextSource.Code(TextSource.Object, &value)) {
    FireSame(outEnter, &value);
    if (ClearAfterEnter != 0 && Control != nullptr) SetTextQuietly({});
  }
  key = 0;
}
