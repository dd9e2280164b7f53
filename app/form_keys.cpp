#include "app/form_keys.h"

#include <windows.h>

#include <cassert>

namespace {

constexpr std::int32_t kModifiers = kCtrlKey | kShiftKey | kAltKey;

}  // namespace

TFormKeys::TFormKeys(TControl* form) : form_(form) {
  if (form_ == nullptr) return;
  own_ = form_->Events().OnKeyDown;
  form_->SetOnKeyDown({&KeyDown, this});
}

TFormKeys::~TFormKeys() {
  if (form_ != nullptr && form_->Events().OnKeyDown.Data == this) form_->SetOnKeyDown(own_);
}

void TFormKeys::Add(std::int32_t key, std::int32_t shift, TWhere where, const TQx_Event& action) {
  for ([[maybe_unused]] const TRow& row : rows_) assert(row.Key != key || row.Shift != (shift & kModifiers));
  rows_.push_back({key, shift & kModifiers, where, action});
}

void TFormKeys::AddTextField(TControl* field) {
  if (field != nullptr) textFields_.push_back(field);
}

bool TFormKeys::InText(HWND focus) const {
  if (focus == nullptr) return false;
  for (const TControl* field : textFields_)
    if (field->Handle == focus) return true;
  return false;
}

const TFormKeys::TRow* TFormKeys::Find(std::int32_t key, std::int32_t shift, HWND focus) const {
  for (const TRow& row : rows_) {
    if (row.Key != key || row.Shift != (shift & kModifiers)) continue;
    if (row.Where == TWhere::OutsideText && InText(focus)) return nullptr;
    return &row;
  }
  return nullptr;
}

bool TFormKeys::Press(std::int32_t key, std::int32_t shift, HWND focus) const {
  const TRow* row = Find(key, shift, focus);
  if (row == nullptr) return false;
  FireEmpty(row->Action);
  return true;
}

void TFormKeys::KeyDown(void* data, TControl* sender, std::int32_t& key, std::int32_t shift) {
  auto* self = static_cast<TFormKeys*>(data);
  if (self->Press(key, shift, GetFocus())) {
    // An Alt chord goes on to the window's default handling all the same: kept from it, the Alt
    // key let go alone would open the window menu, which then takes the next keys.
    if ((shift & kAltKey) == 0) key = 0;
    return;
  }
  if (self->own_) self->own_(sender, key, shift);
}
