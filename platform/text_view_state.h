// The state of one no-wrap text view window and the operations its message handlers share:
// geometry, selection, scrolling, painting, notifications. Private to text_view*.cpp.
// Must never let an exception out (the window procedure catches none of its own).
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/text_lines.h"

class TTextView {
 public:
  explicit TTextView(HWND window) : window_(window) {}

  static TTextView* Of(HWND window);
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  // --- Message families (text_view.cpp)
  bool TextMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool LineMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool StateMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  bool WindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  // --- Input (text_view_input.cpp)
  bool InputMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void KeyDown(WPARAM key);
  void Char(wchar_t ch);
  void MoveCaret(std::size_t to, bool extend, bool keepColumn = false);
  std::size_t Step(std::size_t from, int direction, bool word) const;
  std::size_t VerticalTarget(int lines) const;
  void MouseDown(LPARAM point, bool extend);
  // A drag with the left button: the selection follows the mouse, and past the edge the view
  // scrolls on a timer.
  void DragTo(int x, int y);
  void DragScrollTick();
  void StopDragScroll();
  void EndDrag();
  void SelectWordAt(LPARAM point);
  void Wheel(WPARAM wParam);
  void ScrollBar(int bar, WORD request);
  // --- The context menu (text_view_menu.cpp); `at` is in screen points, -1 from the keyboard.
  void ContextMenu(LPARAM at);
  // --- Clipboard and editing
  void Copy();
  void Paste();
  void DeleteSelection();
  void DeleteForward();
  // Replaces the selection as the user or EM_REPLACESEL does: the limit, the undo step, the
  // modified flag, the caret after the new text, the parent told.
  void ReplaceSelection(std::u16string_view text, bool canUndo);
  // EM_SETSEL: -1 as `from` takes the selection away, -1 as `to` is the end of the text.
  void SetSelection(std::ptrdiff_t from, std::ptrdiff_t to);
  void Undo();

  // --- Geometry and drawing (text_view_paint.cpp)
  void SetFont(HFONT font);
  RECT FormatRect() const;
  int VisibleLines() const;
  int TextWidth(std::size_t line, std::size_t chars) const;
  std::size_t CharAtX(std::size_t line, int x) const;
  std::size_t CharFromPoint(int x, int y) const;
  POINT PositionOf(std::size_t offset) const;
  void MeasureExtent();
  void Paint();
  void PaintLine(HDC dc, std::size_t line, int y, const RECT& format);
  HBRUSH AskColors(HDC dc) const;

  // --- Scrolling and caret
  void ScrollTo(std::ptrdiff_t top, int x);
  void ScrollCaretIntoView();
  void UpdateScrollBars();
  void PlaceCaret();
  void Notify(WORD code) const;
  void Changed();
  bool ReadOnly() const;
  std::size_t SelStart() const { return anchor_ < caret_ ? anchor_ : caret_; }
  std::size_t SelEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }

  HWND window_;
  TTextLines lines_;
  std::size_t anchor_ = 0;  // the fixed end of the selection
  std::size_t caret_ = 0;   // the moving end, where the caret stands
  std::size_t top_ = 0;     // first line shown
  int xOffset_ = 0;         // pixels scrolled to the left
  int extent_ = 0;          // pixels of the widest line
  int wantedX_ = -1;        // the column Up and Down keep, in pixels; -1 none
  HFONT font_ = nullptr;
  int lineHeight_ = 16;
  int charWidth_ = 7;  // of a digit: the effect text is digits and commas
  bool modified_ = false;
  bool focused_ = false;
  bool dragging_ = false;
  bool dragScrolling_ = false;  // the drag's scroll timer runs
  static constexpr UINT_PTR kDragScrollTimer = 1;
  static constexpr UINT kDragScrollMs = 50;
  int wheelRest_ = 0;
  DWORD limit_ = 30000;  // the edit control's default
};
