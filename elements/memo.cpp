// The memo element over a multi-line "EDIT" control.
#include "elements/memo.h"

#include <string>

namespace {

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageA(window, message, wParam, lParam);
}

}  // namespace

void TQxMemo::Init() {
  std::uint32_t options = eoNoAutoHScroll | eoNoAutoVScroll | eoMultiline | eoNoHideSelection;
  if ((ScrollBars & 1) != 0) options &= ~static_cast<std::uint32_t>(eoNoAutoHScroll);
  if ((ScrollBars & 2) != 0) options &= ~static_cast<std::uint32_t>(eoNoAutoVScroll);
  if (Editable == 0) options |= eoReadOnly;
  Control = CreateEdit(ParentControl, options);
  InstallChangeHandler();
  if (Ctl3D == 0) Control->SetStyle(Control->Style & ~static_cast<std::uint32_t>(WS_BORDER));
  CommonInit();
  // The default limit of a multi-line edit (about 30,000 characters) would cut a long effect
  // silently when lines are appended: lift it.
  if (Control->Handle != nullptr) Send(Control->Handle, EM_LIMITTEXT, 0, 0);
  Control->SetCaption(Text.view());
}

void TQxMemo::ListFromControl() { WorkList->SetText(Control->GetCaption(), false); }

std::int32_t TQxMemo::AddLine(std::string_view text) {
  HWND edit = Control->Handle;
  if (edit == nullptr) return Control->AddLine(text);
  // Only the last line and the end of the text are looked at, never the whole text, so a long
  // effect grows in time independent of its length.
  const auto count = static_cast<std::int32_t>(Send(edit, EM_GETLINECOUNT, 0, 0));
  std::string piece;
  if (count > 0) {
    const LRESULT lastStart = Send(edit, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
    if (lastStart >= 0 && Send(edit, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) > 0) piece = "\r\n";
  }
  piece.append(text);
  const auto end = static_cast<WPARAM>(GetWindowTextLengthA(edit));
  Send(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
  Send(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(piece.c_str()));
  return static_cast<std::int32_t>(Send(edit, EM_GETLINECOUNT, 0, 0)) - 1;
}

void TQxMemo::DeleteLine(std::int32_t index) { Control->SetLine(index, {}); }

void TQxMemo::ReplaceLine(std::int32_t index, std::string_view text) { Control->SetLine(index, text); }
