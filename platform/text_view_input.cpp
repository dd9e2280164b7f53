// The no-wrap text view's user input: keys, characters, the mouse, the wheel, the scroll bars and the
// clipboard, as a multi-line edit takes them. Must never change a read-only text by a key.
#include <windowsx.h>

#include <algorithm>
#include <cwctype>
#include <string>

#include "platform/text_view_state.h"

namespace {

bool Held(int key) { return (GetKeyState(key) & 0x8000) != 0; }

// Words are runs of letters and digits: a double click takes one LED number of a frame.
bool IsWordChar(char16_t ch) { return ch >= 0x80 || std::iswalnum(static_cast<wint_t>(ch)) != 0; }

// Control characters a multi-line edit takes as commands.
constexpr wchar_t kCtrlC = 0x03;
constexpr wchar_t kCtrlV = 0x16;
constexpr wchar_t kCtrlX = 0x18;
constexpr wchar_t kCtrlZ = 0x1A;

}  // namespace

bool TTextView::InputMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  result = 0;
  switch (message) {
    case WM_KEYDOWN:
      KeyDown(wParam);
      return true;
    case WM_CHAR:
      Char(static_cast<wchar_t>(wParam));
      result = 1;  // as the system's edit answers
      return true;
    case WM_LBUTTONDOWN:
      MouseDown(lParam, (wParam & MK_SHIFT) != 0);
      return true;
    case WM_LBUTTONDBLCLK:
      SelectWordAt(lParam);
      return true;
    case WM_MOUSEMOVE:
      if (dragging_) DragTo(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return true;
    case WM_LBUTTONUP:
      if (dragging_ && GetCapture() == window_) ReleaseCapture();
      EndDrag();
      return true;
    case WM_CAPTURECHANGED:
      EndDrag();
      return true;
    case WM_TIMER:
      if (wParam != kDragScrollTimer) return false;
      DragScrollTick();
      return true;
    case WM_MOUSEWHEEL:
      Wheel(wParam);
      return true;
    case WM_VSCROLL:
    case WM_HSCROLL:
      ScrollBar(message == WM_VSCROLL ? SB_VERT : SB_HORZ, LOWORD(wParam));
      return true;
    case WM_COPY:
      Copy();
      return true;
    case WM_CUT:
      Copy();
      if (!ReadOnly()) DeleteSelection();
      return true;
    case WM_PASTE:
      if (!ReadOnly()) Paste();
      return true;
    case WM_CLEAR:
      if (!ReadOnly()) DeleteSelection();
      return true;
    case WM_CONTEXTMENU:
      ContextMenu(lParam);
      return true;
    default:
      return false;
  }
}

void TTextView::KeyDown(WPARAM key) {
  const bool shift = Held(VK_SHIFT);
  const bool ctrl = Held(VK_CONTROL);
  const std::size_t line = lines_.LineFromChar(caret_);
  switch (key) {
    case VK_LEFT:
    case VK_RIGHT: {
      const int direction = key == VK_LEFT ? -1 : 1;
      // A selection collapses to its own side first, as in the system's edit.
      if (!shift && anchor_ != caret_ && !ctrl)
        return MoveCaret(direction < 0 ? SelStart() : SelEnd(), false);
      return MoveCaret(Step(caret_, direction, ctrl), shift);
    }
    case VK_UP:
    case VK_DOWN:
      return MoveCaret(VerticalTarget(key == VK_UP ? -1 : 1), shift, true);
    case VK_PRIOR:
    case VK_NEXT: {
      const int page = std::max(1, VisibleLines());
      const int lines = key == VK_PRIOR ? -page : page;
      const std::size_t target = VerticalTarget(lines);
      ScrollTo(static_cast<std::ptrdiff_t>(top_) + lines, xOffset_);
      return MoveCaret(target, shift, true);
    }
    case VK_HOME:
      return MoveCaret(ctrl ? 0 : lines_.LineStart(line), shift);
    case VK_END:
      return MoveCaret(ctrl ? lines_.Length() : lines_.LineStart(line) + lines_.LineLength(line), shift);
    case VK_DELETE:
      if (shift) return SendMessageW(window_, WM_CUT, 0, 0), void();
      if (!ReadOnly()) DeleteForward();
      return;
    case VK_INSERT:
      if (ctrl) SendMessageW(window_, WM_COPY, 0, 0);
      if (shift) SendMessageW(window_, WM_PASTE, 0, 0);
      return;
    case 'A':
      if (ctrl && !shift) {
        anchor_ = 0;
        MoveCaret(lines_.Length(), true);
      }
      return;
    default:
      return;
  }
}

void TTextView::Char(wchar_t ch) {
  switch (ch) {
    case kCtrlC:
      return Copy();
    case kCtrlX:
      return SendMessageW(window_, WM_CUT, 0, 0), void();
    case kCtrlV:
      return SendMessageW(window_, WM_PASTE, 0, 0), void();
    case kCtrlZ:
      return Undo();
    default:
      break;
  }
  if (ReadOnly()) return;
  if (ch == L'\b') {
    if (Held(VK_CONTROL)) return;
    if (anchor_ == caret_) anchor_ = Step(caret_, -1, false);
    return ReplaceSelection(u"", true);
  }
  if (ch == L'\r' || ch == L'\n') return ReplaceSelection(u"\r\n", true);
  // Other control characters (Ctrl+Backspace gives DEL) are not text.
  if ((ch < L' ' && ch != L'\t') || ch == 0x7F) return;
  const char16_t typed[] = {static_cast<char16_t>(ch), u'\0'};
  ReplaceSelection(typed, true);
}

void TTextView::DeleteSelection() {
  if (anchor_ != caret_) ReplaceSelection(u"", true);
}

void TTextView::DeleteForward() {
  if (anchor_ == caret_) caret_ = Step(caret_, 1, false);
  ReplaceSelection(u"", true);
}

// One character (a line break counts as one step), or on to the next word's start with `word`.
std::size_t TTextView::Step(std::size_t from, int direction, bool word) const {
  const std::u16string& text = lines_.Text();
  const std::size_t line = lines_.LineFromChar(from);
  const std::size_t start = lines_.LineStart(line);
  const std::size_t end = start + lines_.LineLength(line);
  if (direction < 0) {
    if (from <= start) return line > 0 ? lines_.LineStart(line - 1) + lines_.LineLength(line - 1) : 0;
    if (!word) return from - 1;
    std::size_t at = from;
    while (at > start && !IsWordChar(text[at - 1])) --at;
    while (at > start && IsWordChar(text[at - 1])) --at;
    return at;
  }
  if (from >= end) return line + 1 < lines_.LineCount() ? lines_.LineStart(line + 1) : end;
  if (!word) return from + 1;
  std::size_t at = from;
  while (at < end && IsWordChar(text[at])) ++at;
  while (at < end && !IsWordChar(text[at])) ++at;
  return at;
}

// The offset `lines` rows up or down, at the column the caret keeps while it goes up and down.
std::size_t TTextView::VerticalTarget(int lines) const {
  const std::size_t line = lines_.LineFromChar(caret_);
  const std::ptrdiff_t wanted = static_cast<std::ptrdiff_t>(line) + lines;
  const std::size_t target = static_cast<std::size_t>(
      std::clamp<std::ptrdiff_t>(wanted, 0, static_cast<std::ptrdiff_t>(lines_.LineCount()) - 1));
  const int x = wantedX_ >= 0 ? wantedX_ : TextWidth(line, caret_ - lines_.LineStart(line));
  return lines_.LineStart(target) + CharAtX(target, x);
}

void TTextView::MoveCaret(std::size_t to, bool extend, bool keepColumn) {
  if (keepColumn && wantedX_ < 0) {
    const std::size_t line = lines_.LineFromChar(caret_);
    wantedX_ = TextWidth(line, caret_ - lines_.LineStart(line));
  } else if (!keepColumn) {
    wantedX_ = -1;
  }
  caret_ = std::min(to, lines_.Length());
  if (!extend) anchor_ = caret_;
  ScrollCaretIntoView();
  InvalidateRect(window_, nullptr, FALSE);
  PlaceCaret();
}

void TTextView::MouseDown(LPARAM point, bool extend) {
  if (GetFocus() != window_) SetFocus(window_);
  dragging_ = true;
  SetCapture(window_);
  MoveCaret(CharFromPoint(GET_X_LPARAM(point), GET_Y_LPARAM(point)), extend);
}

void TTextView::DragTo(int x, int y) {
  MoveCaret(CharFromPoint(x, y), true);
  // Past the text's edge the view goes on scrolling while the mouse rests there, as the system's
  // edit does; a move back inside stops it.
  const RECT format = FormatRect();
  const POINT at{x, y};
  if (PtInRect(&format, at))
    StopDragScroll();
  else if (!dragScrolling_)
    dragScrolling_ = SetTimer(window_, kDragScrollTimer, kDragScrollMs, nullptr) != 0;
}

// One line, or one character's width, on past the edge the mouse rests beyond.
void TTextView::DragScrollTick() {
  if (!dragging_) return EndDrag();
  POINT at{};
  GetCursorPos(&at);
  ScreenToClient(window_, &at);
  const RECT format = FormatRect();
  int x = at.x;
  int y = at.y;
  if (y < format.top) y = format.top - 1;
  if (y >= format.bottom) y = format.top + VisibleLines() * lineHeight_;
  if (x < format.left) x = format.left - charWidth_;
  if (x >= format.right) x = format.right + charWidth_;
  MoveCaret(CharFromPoint(x, y), true);
}

void TTextView::StopDragScroll() {
  if (dragScrolling_) KillTimer(window_, kDragScrollTimer);
  dragScrolling_ = false;
}

void TTextView::EndDrag() {
  dragging_ = false;
  StopDragScroll();
}

void TTextView::SelectWordAt(LPARAM point) {
  const std::size_t at = CharFromPoint(GET_X_LPARAM(point), GET_Y_LPARAM(point));
  const std::u16string& text = lines_.Text();
  const std::size_t line = lines_.LineFromChar(at);
  const std::size_t start = lines_.LineStart(line);
  const std::size_t end = start + lines_.LineLength(line);
  std::size_t from = at;
  std::size_t to = at;
  while (from > start && IsWordChar(text[from - 1])) --from;
  while (to < end && IsWordChar(text[to])) ++to;
  anchor_ = from;
  MoveCaret(to, true);
}

void TTextView::Wheel(WPARAM wParam) {
  UINT perNotch = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &perNotch, 0);
  wheelRest_ += GET_WHEEL_DELTA_WPARAM(wParam);
  const int notches = wheelRest_ / WHEEL_DELTA;
  wheelRest_ -= notches * WHEEL_DELTA;
  if (notches == 0) return;
  const int lines = perNotch == WHEEL_PAGESCROLL ? VisibleLines() : static_cast<int>(perNotch);
  ScrollTo(static_cast<std::ptrdiff_t>(top_) - notches * lines, xOffset_);
}

void TTextView::ScrollBar(int bar, WORD request) {
  SCROLLINFO info{sizeof info, SIF_ALL, 0, 0, 0, 0, 0};
  GetScrollInfo(window_, bar, &info);
  const int line = bar == SB_VERT ? 1 : charWidth_;
  const int page = bar == SB_VERT ? std::max(1, VisibleLines()) : std::max(1, static_cast<int>(info.nPage));
  int position = info.nPos;
  switch (request) {
    case SB_LINEUP:
      position -= line;
      break;
    case SB_LINEDOWN:
      position += line;
      break;
    case SB_PAGEUP:
      position -= page;
      break;
    case SB_PAGEDOWN:
      position += page;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = 0;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
    default:
      return;
  }
  if (bar == SB_VERT)
    ScrollTo(position, xOffset_);
  else
    ScrollTo(static_cast<std::ptrdiff_t>(top_), position);
}

void TTextView::Copy() {
  if (anchor_ == caret_ || !OpenClipboard(window_)) return;
  const std::size_t count = SelEnd() - SelStart();
  if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (count + 1) * sizeof(char16_t))) {
    if (auto* out = static_cast<char16_t*>(GlobalLock(memory))) {
      std::copy_n(lines_.Text().data() + SelStart(), count, out);
      out[count] = u'\0';
      GlobalUnlock(memory);
      EmptyClipboard();
      if (SetClipboardData(CF_UNICODETEXT, memory) == nullptr) GlobalFree(memory);
    } else {
      GlobalFree(memory);
    }
  }
  CloseClipboard();
}

void TTextView::Paste() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT) || !OpenClipboard(window_)) return;
  std::u16string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  if (!text.empty()) ReplaceSelection(text, true);
}
