// The no-wrap text view's class and its edit protocol: text, lines, selection, scrolling, undo and
// the state messages, each family in a function of its own.
#include "platform/text_view.h"

#include <algorithm>
#include <new>

#include "platform/text_codec.h"
#include "platform/text_view_state.h"

namespace {

// What a multi-line edit answers to WM_GETDLGCODE: every key and character is its own.
constexpr LRESULT kDialogCode = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | DLGC_WANTALLKEYS;
// The "no limit" EM_LIMITTEXT 0 sets.
constexpr DWORD kNoLimit = 0xFFFFFFFF;

std::u16string_view ViewOf(LPARAM text) {
  if (text == 0) return {};
  const auto* chars = reinterpret_cast<const char16_t*>(text);
  return std::u16string_view(chars);
}

// An offset handed in a WPARAM: -1 (all ones) stays -1.
std::ptrdiff_t Signed(WPARAM value) { return static_cast<std::ptrdiff_t>(static_cast<int>(value)); }

}  // namespace

bool RegisterTextViewClass() {
  static const bool registered = [] {
    const TWideString name = WideFromCp1251(kTextViewClass);
    WNDCLASSW wc{};
    if (GetClassInfoW(GetModuleHandleW(nullptr), name.c_str(), &wc)) return true;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &TTextView::WindowProc;
    wc.cbWndExtra = sizeof(TTextView*);
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
    wc.lpszClassName = name.c_str();
    return RegisterClassW(&wc) != 0;
  }();
  return registered;
}

TTextView* TTextView::Of(HWND window) { return reinterpret_cast<TTextView*>(GetWindowLongPtrW(window, 0)); }

LRESULT CALLBACK TTextView::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  TTextView* view = Of(window);
  if (message == WM_NCCREATE) {
    view = new (std::nothrow) TTextView(window);
    if (view == nullptr) return FALSE;
    SetWindowLongPtrW(window, 0, reinterpret_cast<LONG_PTR>(view));
    // The text is the view's: the system is not given a copy of it as the window's title.
    CREATESTRUCTW create = *reinterpret_cast<CREATESTRUCTW*>(lParam);
    view->lines_.SetText(ViewOf(reinterpret_cast<LPARAM>(create.lpszName)));
    create.lpszName = nullptr;
    return DefWindowProcW(window, message, wParam, reinterpret_cast<LPARAM>(&create));
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, 0, 0);
    delete view;
    return DefWindowProcW(window, message, wParam, lParam);
  }
  LRESULT result = 0;
  try {
    if (view != nullptr && (view->TextMessage(message, wParam, lParam, result) ||
                            view->LineMessage(message, wParam, lParam, result) ||
                            view->StateMessage(message, wParam, lParam, result) ||
                            view->InputMessage(message, wParam, lParam, result) ||
                            view->WindowMessage(message, wParam, lParam, result)))
      return result;
  } catch (const std::bad_alloc&) {
    // A text too large for the memory left is refused, as the system's edit refuses it; the text
    // held so far stays.
    MessageBeep(MB_ICONWARNING);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

bool TTextView::TextMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_SETTEXT:
      // As the system's multi-line edit: no change notification, the modified flag and the undo
      // step cleared, the caret at the start.
      lines_.SetText(ViewOf(lParam));
      anchor_ = caret_ = 0;
      top_ = 0;
      xOffset_ = 0;
      modified_ = false;
      MeasureExtent();
      UpdateScrollBars();
      InvalidateRect(window_, nullptr, TRUE);
      PlaceCaret();
      result = TRUE;
      return true;
    case WM_GETTEXT: {
      if (wParam == 0 || lParam == 0) return (result = 0), true;
      const std::size_t count = std::min<std::size_t>(wParam - 1, lines_.Length());
      auto* out = reinterpret_cast<char16_t*>(lParam);
      std::copy_n(lines_.Text().data(), count, out);
      out[count] = u'\0';
      result = static_cast<LRESULT>(count);
      return true;
    }
    case WM_GETTEXTLENGTH:
      result = static_cast<LRESULT>(lines_.Length());
      return true;
    case EM_REPLACESEL:
      ReplaceSelection(ViewOf(lParam), wParam != FALSE);
      result = TRUE;  // as the system's edit answers, though nobody is to read it
      return true;
    case EM_GETLINE: {
      const std::size_t line = static_cast<std::size_t>(wParam);
      auto* out = reinterpret_cast<char16_t*>(lParam);
      if (out == nullptr || line >= lines_.LineCount()) return (result = 0), true;
      const std::u16string_view text = lines_.Line(line);
      const std::size_t count = std::min<std::size_t>(*reinterpret_cast<const WORD*>(out), text.size());
      std::copy_n(text.data(), count, out);
      result = static_cast<LRESULT>(count);
      return true;
    }
    default:
      return false;
  }
}

bool TTextView::LineMessage(UINT message, WPARAM wParam, LPARAM, LRESULT& result) {
  const std::ptrdiff_t index = Signed(wParam);
  switch (message) {
    case EM_GETLINECOUNT:
      result = static_cast<LRESULT>(lines_.LineCount());
      return true;
    case EM_LINEFROMCHAR:
      result =
          static_cast<LRESULT>(lines_.LineFromChar(index < 0 ? SelStart() : static_cast<std::size_t>(index)));
      return true;
    case EM_LINEINDEX: {
      const std::size_t line = index < 0 ? lines_.LineFromChar(caret_) : static_cast<std::size_t>(index);
      result = line < lines_.LineCount() ? static_cast<LRESULT>(lines_.LineStart(line)) : -1;
      return true;
    }
    case EM_LINELENGTH: {
      if (index >= 0) {
        result =
            static_cast<LRESULT>(lines_.LineLength(lines_.LineFromChar(static_cast<std::size_t>(index))));
        return true;
      }
      // -1: the characters of the selection's lines that are not selected, counted from its two
      // ends as set (not ordered), as the system's edit counts them.
      const std::size_t anchorLine = lines_.LineFromChar(anchor_);
      const std::size_t caretLine = lines_.LineFromChar(caret_);
      const auto count =
          static_cast<std::ptrdiff_t>(anchor_ - lines_.LineStart(anchorLine)) +
          static_cast<std::ptrdiff_t>(lines_.LineStart(caretLine) + lines_.LineLength(caretLine)) -
          static_cast<std::ptrdiff_t>(caret_);
      result = static_cast<LRESULT>(count);
      return true;
    }
    case EM_GETFIRSTVISIBLELINE:
      result = static_cast<LRESULT>(top_);
      return true;
    case EM_POSFROMCHAR: {
      if (index < 0 || static_cast<std::size_t>(index) > lines_.Length()) return (result = -1), true;
      const POINT at = PositionOf(static_cast<std::size_t>(index));
      result = static_cast<LRESULT>(MAKELONG(static_cast<WORD>(at.x), static_cast<WORD>(at.y)));
      return true;
    }
    default:
      return false;
  }
}

bool TTextView::StateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = TRUE;
  switch (message) {
    case EM_GETSEL: {
      if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(SelStart());
      if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(SelEnd());
      result = static_cast<LRESULT>(static_cast<DWORD>(MAKELONG(SelStart(), SelEnd())));
      return true;
    }
    case EM_SETSEL:
      SetSelection(Signed(wParam), static_cast<int>(lParam));
      return true;
    case EM_SCROLLCARET:
      ScrollCaretIntoView();
      return true;
    case EM_LINESCROLL:
      ScrollTo(static_cast<std::ptrdiff_t>(top_) + static_cast<int>(lParam),
               xOffset_ + static_cast<int>(wParam) * charWidth_);
      return true;
    case EM_GETMODIFY:
      result = modified_ ? TRUE : FALSE;
      return true;
    case EM_SETMODIFY:
      modified_ = wParam != FALSE;
      result = 0;
      return true;
    case EM_LIMITTEXT:  // EM_SETLIMITTEXT is the same message
      limit_ = wParam == 0 ? kNoLimit : static_cast<DWORD>(wParam);
      result = 0;
      return true;
    case EM_GETLIMITTEXT:
      result = static_cast<LRESULT>(limit_);
      return true;
    case EM_CANUNDO:
      result = lines_.CanUndo() ? TRUE : FALSE;
      return true;
    case EM_UNDO:
    case WM_UNDO:
      Undo();
      return true;
    case EM_EMPTYUNDOBUFFER:
      lines_.EmptyUndo();
      result = 0;
      return true;
    case EM_SETREADONLY: {
      const LONG style = GetWindowLongW(window_, GWL_STYLE);
      SetWindowLongW(window_, GWL_STYLE, wParam != FALSE ? style | ES_READONLY : style & ~ES_READONLY);
      InvalidateRect(window_, nullptr, TRUE);
      return true;
    }
    default:
      return false;
  }
}

bool TTextView::WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_GETDLGCODE:
      result = kDialogCode;
      return true;
    case WM_SETFONT:
      SetFont(reinterpret_cast<HFONT>(wParam));
      if (LOWORD(lParam) != 0) InvalidateRect(window_, nullptr, TRUE);
      return true;
    case WM_GETFONT:
      result = reinterpret_cast<LRESULT>(font_);
      return true;
    case EM_GETRECT:
      if (lParam != 0) *reinterpret_cast<RECT*>(lParam) = FormatRect();
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_ERASEBKGND:
      result = 1;  // the paint fills every row itself
      return true;
    case WM_SIZE:
      UpdateScrollBars();
      ScrollTo(static_cast<std::ptrdiff_t>(top_), xOffset_);
      InvalidateRect(window_, nullptr, TRUE);
      return true;
    case WM_ENABLE:
    case WM_STYLECHANGED:
      InvalidateRect(window_, nullptr, TRUE);
      return true;
    case WM_SETFOCUS:
      focused_ = true;
      CreateCaret(window_, nullptr, 1, lineHeight_);
      PlaceCaret();
      ShowCaret(window_);
      Notify(EN_SETFOCUS);
      return true;
    case WM_KILLFOCUS:
      focused_ = false;
      dragging_ = false;
      DestroyCaret();
      Notify(EN_KILLFOCUS);
      return true;
    default:
      return false;
  }
}

void TTextView::SetSelection(std::ptrdiff_t from, std::ptrdiff_t to) {
  const std::size_t length = lines_.Length();
  if (from < 0) {
    anchor_ = caret_;  // -1 takes the selection away, the caret stays
  } else {
    anchor_ = std::min(static_cast<std::size_t>(from), length);
    caret_ = to < 0 ? length : std::min(static_cast<std::size_t>(to), length);
  }
  wantedX_ = -1;
  // The system's edit brings the caret into view here too.
  ScrollCaretIntoView();
  InvalidateRect(window_, nullptr, FALSE);
  PlaceCaret();
}

void TTextView::Notify(WORD code) const {
  HWND parent = GetParent(window_);
  if (parent == nullptr) return;
  SendMessageW(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(window_), code),
               reinterpret_cast<LPARAM>(window_));
}

bool TTextView::ReadOnly() const { return (GetWindowLongW(window_, GWL_STYLE) & ES_READONLY) != 0; }

void TTextView::Changed() {
  modified_ = true;
  MeasureExtent();
  UpdateScrollBars();
  ScrollCaretIntoView();
  InvalidateRect(window_, nullptr, FALSE);
  PlaceCaret();
  Notify(EN_UPDATE);
  Notify(EN_CHANGE);
}

void TTextView::ReplaceSelection(std::u16string_view text, bool canUndo) {
  const std::size_t removed = SelEnd() - SelStart();
  const std::size_t room =
      limit_ == kNoLimit ? text.size() : limit_ - std::min<std::size_t>(limit_, lines_.Length() - removed);
  if (room < text.size()) {
    text = text.substr(0, room);
    // Even when nothing fits, the system's edit goes on to say the text changed.
    Notify(EN_MAXTEXT);
  }
  caret_ = anchor_ = lines_.Replace(SelStart(), SelEnd(), text, canUndo);
  wantedX_ = -1;
  Changed();
}

void TTextView::Undo() {
  std::size_t from = 0;
  std::size_t to = 0;
  if (!lines_.Undo(from, to)) return;
  anchor_ = from;
  caret_ = to;
  wantedX_ = -1;
  Changed();
}
