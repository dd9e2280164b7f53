// The memo element over a multi-line "EDIT" control.
#include "elements/memo.h"

#include <string>

#include "platform/text_codec.h"
#include "platform/text_view.h"

namespace {

LRESULT Send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return SendMessageW(window, message, wParam, lParam);
}

// Posted to the memo's control so that waiting lines arrive before the next input or paint
// (posted messages are taken before both).
UINT FlushMessage() {
  static const UINT id = RegisterWindowMessageW(L"cube memo flush");
  return id;
}

bool HasLineBreakCharacter(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

void TQxMemo::Init() {
  std::uint32_t options = eoNoAutoHScroll | eoNoAutoVScroll | eoMultiline | eoNoHideSelection;
  if ((ScrollBars & 1) != 0) options &= ~static_cast<std::uint32_t>(eoNoAutoHScroll);
  if ((ScrollBars & 2) != 0) options &= ~static_cast<std::uint32_t>(eoNoAutoVScroll);
  if (Editable == 0) options |= eoReadOnly;
  Control = CreateEdit(ParentControl, options);
  InstallChangeHandler();
  if (Ctl3D == 0) Control->SetStyle(Control->GetStyle() & ~static_cast<std::uint32_t>(WS_BORDER));
  CommonInit();
  // The default limit of a multi-line edit (about 30,000 characters) would cut a long effect
  // silently when lines are appended: lift it.
  if (Control->Handle != nullptr) Send(Control->Handle, EM_LIMITTEXT, 0, 0);
  Control->SetCaption(Text.view());
}

void TQxMemo::ListFromControl() { WorkList->SetText(Control->GetCaption(), false); }

bool TQxMemo::LastLineEmpty() {
  // Waiting lines are whole lines joined by CR LF, so they alone decide.
  if (!waiting_.empty()) return waiting_.ends_with("\r\n");
  // Only the last line is looked at, never the whole text.
  HWND edit = Control->Handle;
  const auto count = static_cast<std::int32_t>(Send(edit, EM_GETLINECOUNT, 0, 0));
  if (count <= 0) return true;
  const LRESULT lastStart = Send(edit, EM_LINEINDEX, static_cast<WPARAM>(count - 1), 0);
  return lastStart < 0 || Send(edit, EM_LINELENGTH, static_cast<WPARAM>(lastStart), 0) <= 0;
}

void TQxMemo::AppendToControl(const std::string& piece) {
  HWND edit = Control->Handle;
  const auto end = static_cast<WPARAM>(GetWindowTextLengthW(edit));
  Send(edit, EM_SETSEL, end, static_cast<LPARAM>(end));
  const TWideString wide = WideFromCp1251(piece);
  Send(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(wide.c_str()));
}

std::int32_t TQxMemo::AddLine(std::string_view text) {
  HWND edit = Control->Handle;
  if (edit == nullptr) return Control->AddLine(text);
  FlushWaitingLines();
  std::string piece = LastLineEmpty() ? std::string() : std::string("\r\n");
  piece.append(text);
  AppendToControl(piece);
  return static_cast<std::int32_t>(Send(edit, EM_GETLINECOUNT, 0, 0)) - 1;
}

std::int32_t TQxMemo::AddLineSoon(std::string_view text) {
  // A text with its own line breaks would make the waiting text's last line unknown.
  if (Control->Handle == nullptr || flushing_ || HasLineBreakCharacter(text)) return AddLine(text);
  if (!LastLineEmpty()) waiting_ += "\r\n";
  waiting_.append(text);
  if (!flushPosted_ && PostMessageW(Control->Handle, FlushMessage(), 0, 0) != 0) flushPosted_ = true;
  // Without a posted flush the line must not wait for a message that may never come.
  if (!flushPosted_) FlushWaitingLines();
  return -1;
}

void TQxMemo::FlushWaitingLines() {
  if (waiting_.empty() || flushing_ || Control == nullptr || Control->Handle == nullptr) return;
  flushing_ = true;
  const std::string piece = std::move(waiting_);
  waiting_.clear();
  AppendToControl(piece);
  flushing_ = false;
}

bool TQxMemo::DoMessage(TMessage& msg, LRESULT& result) {
  if (msg.Message == FlushMessage()) {
    flushPosted_ = false;
    FlushWaitingLines();
    result = 0;
    return true;
  }
  if (msg.Message == WM_DESTROY || msg.Message == WM_NCDESTROY) {
    waiting_.clear();  // the text goes with the control
  } else if (!waiting_.empty() && !flushing_) {
    // Whatever the message asks of the control (its text, a key, a paint), it sees every line.
    FlushWaitingLines();
  }
  return TQxEWinList::DoMessage(msg, result);
}

void TQxMemo::inClear(TData* d, std::uint16_t index) {
  // Lines that never reached the control are cleared with it.
  waiting_.clear();
  TQxEWinList::inClear(d, index);
}

void TQxMemo::SetWordWrap(bool wrap) {
  if (wrap == wordWrap_) return;
  wordWrap_ = wrap;
  if (Control == nullptr) return;
  constexpr auto kRunOn = static_cast<std::uint32_t>(WS_HSCROLL | ES_AUTOHSCROLL);
  const std::uint32_t style = wrap ? Control->GetStyle() & ~kRunOn : Control->GetStyle() | kRunOn;
  // Unwrapped, the text goes to the library's own view, which lays out only the rows it shows; the
  // system's edit stays for the designed, wrapped look.
  const bool ownView = !wrap && RegisterTextViewClass();
  const std::string_view baseClass = ownView ? kTextViewClass : std::string_view("EDIT");
  HWND old = Control->Handle;
  if (old == nullptr) {
    Control->SetStyle(style);
    Control->SetBaseClass(baseClass);
    return;
  }
  FlushWaitingLines();
  std::string text = Control->GetCaption();
  DWORD selStart = 0;
  DWORD selEnd = 0;
  Send(old, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
  const LRESULT topChar =
      Send(old, EM_LINEINDEX, static_cast<WPARAM>(Send(old, EM_GETFIRSTVISIBLELINE, 0, 0)), 0);
  const bool modified = Send(old, EM_GETMODIFY, 0, 0) != 0;
  const bool focused = GetFocus() == old;
  // Its own flag: before the form is first shown (a kept choice applied at start) the window is
  // not visible on screen, yet must show with the form.
  const bool visible = (GetWindowLongPtrW(old, GWL_STYLE) & WS_VISIBLE) != 0;
  HWND above = GetWindow(old, GW_HWNDPREV);

  // Made empty and then given the text, so that the font and the lifted limit apply before the one
  // layout of the text.
  DestroyWindow(old);
  flushPosted_ = false;
  Control->Handle = nullptr;
  Control->SetStyle(style);
  Control->SetBaseClass(baseClass);
  Control->SetCaption({});
  if (!Control->CreateWindowHandle() && ownView) {
    // The system's edit, slower on a large text, rather than no window for the text at all.
    Control->SetBaseClass("EDIT");
    Control->CreateWindowHandle();
  }
  if (Control->Handle == nullptr) {
    // The object keeps the text for the next try and for a save: never lost with the window.
    Control->SetCaption(text);
    return;
  }
  HWND edit = Control->Handle;
  SetWindowPos(edit, above != nullptr ? above : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Send(edit, EM_LIMITTEXT, 0, 0);
  Control->SetCaption(text);
  Send(edit, EM_SETSEL, selStart, static_cast<LPARAM>(selEnd));
  if (topChar > 0) Send(edit, EM_LINESCROLL, 0, Send(edit, EM_LINEFROMCHAR, static_cast<WPARAM>(topChar), 0));
  Send(edit, EM_SCROLLCARET, 0, 0);
  Send(edit, EM_SETMODIFY, modified ? TRUE : FALSE, 0);
  Control->SetVisible(visible);
  if (focused) SetFocus(edit);
}

void TQxMemo::DeleteLine(std::int32_t index) { Control->SetLine(index, {}); }

void TQxMemo::ReplaceLine(std::int32_t index, std::string_view text) { Control->SetLine(index, text); }
