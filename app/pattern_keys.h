// The pattern tools' shortcut keys as one table: which key with which modifiers asks for which
// tool, and the hint text naming it. They act only when the focus is outside the text controls.
// Pure data: never includes a window-system header (the virtual-key codes are spelled out below).
#pragma once

#include <array>
#include <cstdint>

namespace pattern_keys {

// Virtual-key codes of the keys the table uses.
inline constexpr std::int32_t kVk0 = 0x30;  // '0'..'9' follow in order
inline constexpr std::int32_t kVkA = 0x41;  // 'A'..'Z' follow in order

enum class TTool {
  None,
  ShiftXMinus,  // the six shifts in the order of the transform codes
  ShiftXPlus,
  ShiftYMinus,
  ShiftYPlus,
  ShiftZMinus,
  ShiftZPlus,
  Wrap,
  Rotate,
  MirrorX,
  MirrorY,
  MirrorZ,
  Invert,
  LightAll,
  Undo,
  Redo,
};

struct TKey {
  TTool Tool;
  std::int32_t VirtualKey;
  bool Ctrl;
  const char* Name;  // as the hints show it
};

inline constexpr std::array<TKey, 15> kKeys{{
    {TTool::ShiftXMinus, kVk0 + 1, true, "Ctrl+1"},
    {TTool::ShiftXPlus, kVk0 + 2, true, "Ctrl+2"},
    {TTool::ShiftYMinus, kVk0 + 3, true, "Ctrl+3"},
    {TTool::ShiftYPlus, kVk0 + 4, true, "Ctrl+4"},
    {TTool::ShiftZMinus, kVk0 + 5, true, "Ctrl+5"},
    {TTool::ShiftZPlus, kVk0 + 6, true, "Ctrl+6"},
    {TTool::Rotate, kVk0 + 7, true, "Ctrl+7"},
    {TTool::MirrorX, kVk0 + 8, true, "Ctrl+8"},
    {TTool::MirrorY, kVk0 + 9, true, "Ctrl+9"},
    {TTool::MirrorZ, kVk0, true, "Ctrl+0"},
    {TTool::Invert, kVkA + 'E' - 'A', true, "Ctrl+E"},
    {TTool::LightAll, kVkA + 'L' - 'A', true, "Ctrl+L"},
    {TTool::Wrap, kVkA + 'W' - 'A', true, "Ctrl+W"},
    {TTool::Undo, kVkA + 'Z' - 'A', true, "Ctrl+Z"},
    {TTool::Redo, kVkA + 'Y' - 'A', true, "Ctrl+Y"},
}};

// The tool of a key press; Shift or Alt (AltGr types characters as Ctrl+Alt) never match.
constexpr TTool ToolOf(std::int32_t virtualKey, bool ctrl, bool shift, bool alt) {
  if (shift || alt) return TTool::None;
  for (const TKey& key : kKeys) {
    if (key.VirtualKey == virtualKey && key.Ctrl == ctrl) return key.Tool;
  }
  return TTool::None;
}

constexpr const char* KeyNameOf(TTool tool) {
  for (const TKey& key : kKeys) {
    if (key.Tool == tool) return key.Name;
  }
  return "";
}

}  // namespace pattern_keys
