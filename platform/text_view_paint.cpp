// The no-wrap text view's geometry, painting, scrolling and caret: rows of one font height inside
// the edit control's format rectangle, only the rows in view measured or drawn. Must never walk
// every line of the text to paint or to place the caret.
#include <algorithm>
#include <vector>

#include "platform/text_view_state.h"

namespace {

// The system's multi-line edit keeps its text this far from the client edges (measured under Wine).
constexpr int kLeftMargin = 5;
constexpr int kRightMargin = 5;
constexpr int kTopMargin = 1;

// A device context of the window with the view's font selected, let go at the end of the scope.
class TFontDC {
 public:
  TFontDC(HWND window, HFONT font) : window_(window), dc_(GetDC(window)) {
    old_ = SelectObject(dc_, font != nullptr ? font : GetStockObject(SYSTEM_FONT));
  }
  ~TFontDC() {
    SelectObject(dc_, old_);
    ReleaseDC(window_, dc_);
  }
  TFontDC(const TFontDC&) = delete;
  TFontDC& operator=(const TFontDC&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
  HGDIOBJ old_;
};

int ExtentIn(HDC dc, std::u16string_view text) {
  if (text.empty()) return 0;
  SIZE size{0, 0};
  GetTextExtentPoint32W(dc, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), &size);
  return size.cx;
}

}  // namespace

void TTextView::SetFont(HFONT font) {
  font_ = font;
  {
    TFontDC dc(window_, font_);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.Get(), &metrics);
    lineHeight_ = std::max<int>(1, metrics.tmHeight);
    charWidth_ = std::max(1, ExtentIn(dc.Get(), u"0"));
  }
  if (focused_) {
    CreateCaret(window_, nullptr, 1, lineHeight_);
    ShowCaret(window_);
  }
  MeasureExtent();
  UpdateScrollBars();
  PlaceCaret();
}

RECT TTextView::FormatRect() const {
  RECT client{0, 0, 0, 0};
  GetClientRect(window_, &client);
  const int right = std::max<int>(kLeftMargin, client.right - kRightMargin);
  return {kLeftMargin, kTopMargin, right, kTopMargin + VisibleLines() * lineHeight_};
}

int TTextView::VisibleLines() const {
  RECT client{0, 0, 0, 0};
  GetClientRect(window_, &client);
  return std::max(1, static_cast<int>((client.bottom - 2 * kTopMargin) / lineHeight_));
}

int TTextView::TextWidth(std::size_t line, std::size_t chars) const {
  const std::u16string_view text = lines_.Line(line);
  TFontDC dc(window_, font_);
  return ExtentIn(dc.Get(), text.substr(0, std::min(chars, text.size())));
}

// The column of the character boundary nearest to x pixels from the line's start.
std::size_t TTextView::CharAtX(std::size_t line, int x) const {
  const std::u16string_view text = lines_.Line(line);
  if (x <= 0 || text.empty()) return 0;
  TFontDC dc(window_, font_);
  std::vector<int> ends(text.size());
  SIZE size{0, 0};
  int fit = 0;
  GetTextExtentExPointW(dc.Get(), reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()), x,
                        &fit, ends.data(), &size);
  const auto count = static_cast<std::size_t>(std::max(0, fit));
  if (count >= text.size()) return text.size();
  // Past the middle of the character under x: the boundary after it.
  const int before = count == 0 ? 0 : ends[count - 1];
  return x - before > (ends[count] - before) / 2 ? count + 1 : count;
}

std::size_t TTextView::CharFromPoint(int x, int y) const {
  const RECT format = FormatRect();
  const int row = y >= format.top ? (y - format.top) / lineHeight_ : -1;
  const std::ptrdiff_t wanted = static_cast<std::ptrdiff_t>(top_) + row;
  const auto line = static_cast<std::size_t>(
      std::clamp<std::ptrdiff_t>(wanted, 0, static_cast<std::ptrdiff_t>(lines_.LineCount()) - 1));
  return lines_.LineStart(line) + CharAtX(line, x - format.left + xOffset_);
}

POINT TTextView::PositionOf(std::size_t offset) const {
  const RECT format = FormatRect();
  const std::size_t line = lines_.LineFromChar(offset);
  const auto row = static_cast<std::ptrdiff_t>(line) - static_cast<std::ptrdiff_t>(top_);
  const int x = format.left - xOffset_ + TextWidth(line, offset - lines_.LineStart(line));
  return {x, format.top + static_cast<int>(row) * lineHeight_};
}

void TTextView::MeasureExtent() {
  // The line of the most characters, measured; a line of fewer but wider characters is allowed
  // for by the width of a digit, the widest character of a frame.
  const std::size_t longest = lines_.LongestLine();
  const int byDigits =
      static_cast<int>(std::min<std::size_t>(lines_.LineLength(longest), 0x7FFFFF)) * charWidth_;
  extent_ = std::max(TextWidth(longest, lines_.LineLength(longest)), byDigits) + 1;
}

HBRUSH TTextView::AskColors(HDC dc) const {
  SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
  SetBkColor(dc, GetSysColor(COLOR_WINDOW));
  const bool enabled = IsWindowEnabled(window_) != FALSE;
  const UINT message = ReadOnly() || !enabled ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT;
  HWND parent = GetParent(window_);
  auto brush = parent != nullptr
                   ? reinterpret_cast<HBRUSH>(SendMessageW(parent, message, reinterpret_cast<WPARAM>(dc),
                                                           reinterpret_cast<LPARAM>(window_)))
                   : nullptr;
  if (!enabled) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  return brush != nullptr ? brush : GetSysColorBrush(COLOR_WINDOW);
}

void TTextView::Paint() {
  PAINTSTRUCT paint;
  HDC dc = BeginPaint(window_, &paint);
  if (dc == nullptr) return;
  const HBRUSH brush = AskColors(dc);
  FillRect(dc, &paint.rcPaint, brush);
  const HGDIOBJ oldFont = SelectObject(dc, font_ != nullptr ? font_ : GetStockObject(SYSTEM_FONT));
  const RECT format = FormatRect();
  const int saved = SaveDC(dc);
  IntersectClipRect(dc, format.left, format.top, format.right, format.bottom);
  const int firstRow = std::max(0, static_cast<int>((paint.rcPaint.top - format.top) / lineHeight_));
  const int lastRow =
      std::min(VisibleLines(), static_cast<int>((paint.rcPaint.bottom - format.top) / lineHeight_) + 1);
  for (int row = firstRow; row < lastRow; ++row) {
    const std::size_t line = top_ + static_cast<std::size_t>(row);
    if (line >= lines_.LineCount()) break;
    PaintLine(dc, line, format.top + row * lineHeight_, format);
  }
  RestoreDC(dc, saved);
  SelectObject(dc, oldFont);
  EndPaint(window_, &paint);
}

void TTextView::PaintLine(HDC dc, std::size_t line, int y, const RECT& format) {
  const std::u16string_view text = lines_.Line(line);
  const int x = format.left - xOffset_;
  const int mode = SetBkMode(dc, TRANSPARENT);
  TextOutW(dc, x, y, reinterpret_cast<LPCWSTR>(text.data()), static_cast<int>(text.size()));
  SetBkMode(dc, mode);
  const std::size_t start = lines_.LineStart(line);
  const std::size_t from = std::clamp(SelStart(), start, start + text.size()) - start;
  const std::size_t to = std::clamp(SelEnd(), start, start + text.size()) - start;
  if (from >= to) return;
  // The selection as the system's edit shows it, whether or not the view has the focus.
  const int left = x + ExtentIn(dc, text.substr(0, from));
  const int right = x + ExtentIn(dc, text.substr(0, to));
  const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
  const COLORREF oldBack = SetBkColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  const RECT band{left, y, right, y + lineHeight_};
  ExtTextOutW(dc, left, y, ETO_OPAQUE | ETO_CLIPPED, &band, reinterpret_cast<LPCWSTR>(text.data() + from),
              static_cast<UINT>(to - from), nullptr);
  SetTextColor(dc, oldText);
  SetBkColor(dc, oldBack);
}

void TTextView::ScrollTo(std::ptrdiff_t top, int x) {
  const auto lastTop =
      std::max<std::ptrdiff_t>(0, static_cast<std::ptrdiff_t>(lines_.LineCount()) - VisibleLines());
  const RECT format = FormatRect();
  const int lastX = std::max(0, extent_ - static_cast<int>(format.right - format.left));
  const auto newTop = static_cast<std::size_t>(std::clamp<std::ptrdiff_t>(top, 0, lastTop));
  const int newX = std::clamp(x, 0, lastX);
  if (newTop == top_ && newX == xOffset_) return;
  const bool vertical = newTop != top_;
  const bool horizontal = newX != xOffset_;
  top_ = newTop;
  xOffset_ = newX;
  UpdateScrollBars();
  InvalidateRect(window_, nullptr, FALSE);
  PlaceCaret();
  if (vertical) Notify(EN_VSCROLL);
  if (horizontal) Notify(EN_HSCROLL);
}

void TTextView::ScrollCaretIntoView() {
  const std::size_t line = lines_.LineFromChar(caret_);
  const auto visible = static_cast<std::size_t>(VisibleLines());
  std::size_t top = top_;
  if (line < top) top = line;
  if (line >= top + visible) top = line - visible + 1;
  const RECT format = FormatRect();
  const int width = std::max(1, static_cast<int>(format.right - format.left));
  const int caretX = TextWidth(line, caret_ - lines_.LineStart(line));
  int x = xOffset_;
  // Out of view to the side: a quarter of the width more than needed, so typing on does not
  // scroll at every character.
  if (caretX < x) x = std::max(0, caretX - width / 4);
  if (caretX >= x + width) x = caretX - width + width / 4;
  ScrollTo(static_cast<std::ptrdiff_t>(top), x);
}

void TTextView::UpdateScrollBars() {
  const LONG style = GetWindowLongW(window_, GWL_STYLE);
  SCROLLINFO info{sizeof info, SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL, 0, 0, 0, 0, 0};
  if ((style & WS_VSCROLL) != 0) {
    info.nMax = static_cast<int>(lines_.LineCount()) - 1;
    info.nPage = static_cast<UINT>(VisibleLines());
    info.nPos = static_cast<int>(top_);
    SetScrollInfo(window_, SB_VERT, &info, TRUE);
  }
  if ((style & WS_HSCROLL) != 0) {
    const RECT format = FormatRect();
    info.nPage = static_cast<UINT>(std::max<LONG>(1, format.right - format.left));
    info.nMax = std::max(extent_, static_cast<int>(info.nPage)) - 1;
    info.nPos = xOffset_;
    SetScrollInfo(window_, SB_HORZ, &info, TRUE);
  }
}

void TTextView::PlaceCaret() {
  if (!focused_) return;
  const POINT at = PositionOf(caret_);
  SetCaretPos(at.x, at.y);
}
