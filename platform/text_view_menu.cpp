// The no-wrap text view's context menu, from a right click or from the keyboard (Shift+F10, the
// menu key): the edit commands a multi-line edit offers there, each enabled only where it can act.
// Its commands go through the same messages as the keys, so the owner sees them alike.
#include <windowsx.h>

#include <algorithm>

#include "platform/text_codec.h"
#include "platform/text_view_state.h"

namespace {

// Command ids are the messages they send; "select all" has none of its own.
constexpr UINT kSelectAll = 1;

void AddItem(HMENU menu, UINT id, const char* caption, bool enabled) {
  AppendMenuW(menu, MF_STRING | (enabled ? MF_ENABLED : MF_GRAYED), id, WideFromCp1251(caption).c_str());
}

}  // namespace

void TTextView::ContextMenu(LPARAM at) {
  if (GetFocus() != window_) SetFocus(window_);
  POINT point{GET_X_LPARAM(at), GET_Y_LPARAM(at)};
  if (at == -1) {
    // From the keyboard: under the caret, kept inside the view.
    point = PositionOf(caret_);
    point.y += lineHeight_;
    RECT client{};
    GetClientRect(window_, &client);
    point.x = std::clamp(point.x, client.left, client.right);
    point.y = std::clamp(point.y, client.top, client.bottom);
    ClientToScreen(window_, &point);
  }
  const bool writable = !ReadOnly();
  const bool selected = anchor_ != caret_;
  const bool allSelected = SelStart() == 0 && SelEnd() == lines_.Length();
  HMENU menu = CreatePopupMenu();
  if (menu == nullptr) return;
  AddItem(menu, WM_UNDO, "&Отменить", writable && lines_.CanUndo());
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AddItem(menu, WM_CUT, "Вы&резать", writable && selected);
  AddItem(menu, WM_COPY, "&Копировать", selected);
  AddItem(menu, WM_PASTE, "Вст&авить", writable && IsClipboardFormatAvailable(CF_UNICODETEXT));
  AddItem(menu, WM_CLEAR, "&Удалить", writable && selected);
  AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
  AddItem(menu, kSelectAll, "Выделить в&сё", lines_.Length() != 0 && !allSelected);
  const UINT chosen = static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY,
                                                       point.x, point.y, 0, window_, nullptr));
  DestroyMenu(menu);
  if (chosen == kSelectAll)
    SetSelection(0, -1);
  else if (chosen != 0)
    SendMessageW(window_, chosen, 0, 0);
}
