// Keyboard navigation between the controls of a form: Tab and Shift+Tab, the arrow keys and
// PageUp/PageDown move the focus to the nearest TabOrder in their direction, wrapping around.
// Only visible, enabled tab stops take the focus; the keys a control gives up are its
// NavigationKeys (a single-line edit keeps Left/Right, a multi-line edit gives up only Tab).
#include "platform/handlers.h"

namespace {

std::int32_t NavigationBit(std::int32_t key) {
  switch (key) {
    case VK_TAB:
      return kNavTab;
    case VK_LEFT:
    case VK_RIGHT:
      return kNavLeftRight;
    case VK_UP:
    case VK_DOWN:
      return kNavUpDown;
    case VK_PRIOR:
    case VK_NEXT:
      return kNavPage;
    default:
      return 0;
  }
}

bool Focusable(const TControl* c) { return c->IsChild && c->GetVisible() && c->GetEnabled() && c->TabStop; }

// Walks the controls of the form that take part in its tab order: its children and theirs, but not
// into another form, nor into a hidden or disabled container.
template <typename Visit>
void ForEachTabControl(const TControl* parent, Visit& visit) {
  for (std::int32_t i = 0; i < parent->ChildCount(); ++i) {
    TControl* c = parent->ChildAt(i);
    if (c == nullptr || c->IsForm) continue;
    if (Focusable(c)) visit(c);
    if (c->GetVisible() && c->GetEnabled()) ForEachTabControl(c, visit);
  }
}

}  // namespace

TControl* NextTabControl(TControl* form, const TControl* current, bool forward) {
  TControl* nearest = nullptr;  // nearest TabOrder beyond current's in the direction
  TControl* wrap = nullptr;     // lowest (forward) or highest (backward) TabOrder
  auto visit = [&](TControl* c) {
    if (c == current) return;
    const std::int32_t order = c->GetTabOrder();
    if (current != nullptr) {
      const bool beyond = forward ? order > current->GetTabOrder() : order < current->GetTabOrder();
      if (beyond &&
          (nearest == nullptr || (forward ? order < nearest->GetTabOrder() : order > nearest->GetTabOrder())))
        nearest = c;
    }
    if (wrap == nullptr || (forward ? order < wrap->GetTabOrder() : order > wrap->GetTabOrder())) wrap = c;
  };
  ForEachTabControl(form, visit);
  if (nearest != nullptr) return nearest;
  // With nothing beyond, wrap; a lone focusable current control keeps the focus.
  if (wrap != nullptr) return wrap;
  return current != nullptr && Focusable(current) ? const_cast<TControl*>(current) : nullptr;
}

bool TabOrderNavigation(TControl* form, TControl* from, std::int32_t key, bool testOnly) {
  const std::int32_t bit = NavigationBit(key);
  if (bit == 0 || from == nullptr || (from->NavigationKeys & bit) == 0) return false;
  if (testOnly) return true;
  const bool backward =
      key == VK_PRIOR || key == VK_LEFT || key == VK_UP || (key == VK_TAB && GetKeyState(VK_SHIFT) < 0);
  const TControl* current = from != form ? from : form->CurrentControl;
  TControl* target = NextTabControl(form, current, !backward);
  if (target == nullptr) return true;
  if (HWND window = target->GetHandle()) {
    ++target->FocusingCounter;
    ::SetFocus(window);
    --target->FocusingCounter;
  }
  form->CurrentControl = target;
  return true;
}

void EnableKeyboardNavigation(TControl* form) {
  if (form != nullptr) form->NavigationHandler = TabOrderNavigation;
}
