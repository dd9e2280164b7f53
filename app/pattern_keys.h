// The pattern tools as one table: each tool's button caption and hint, its transform, its key and
// the README's words for it. The keys act only when the focus is outside the text controls.
// Pure data: never includes a window-system header (the virtual-key codes are spelled out below).
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "elements/cube_pattern_element.h"

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

// One row per tool: the button's caption and hint, the transform it asks the pattern element for,
// its key, and the README's words for it. The buttons, the keys, the pins they fire and the README
// table are all made from these rows; adding a tool is adding a row (and its place in the strip).
struct TKey {
  TTool Tool;
  const char* Caption;  // nullptr: the wrap button, whose caption tells the setting
  const char* Hint;     // the key's name follows in brackets
  std::int32_t Code;    // a TQxCubePattern transform code (the shifts without wrap); 0: no transform
  std::int32_t VirtualKey;
  bool Ctrl;
  const char* Name;  // as the hints show it
  const char* Doc;   // what it does, in the README's words
};

inline constexpr std::array<TKey, 15> kKeys{{
    {TTool::ShiftXMinus, "X–", "Сдвиг на один столбец влево", TQxCubePattern::ctShiftXMinus, kVk0 + 1, true,
     "Ctrl+1", "shift one column left (X–)"},
    {TTool::ShiftXPlus, "X+", "Сдвиг на один столбец вправо", TQxCubePattern::ctShiftXPlus, kVk0 + 2, true,
     "Ctrl+2", "shift one column right (X+)"},
    {TTool::ShiftYMinus, "Y–", "Сдвиг на один ряд назад", TQxCubePattern::ctShiftYMinus, kVk0 + 3, true,
     "Ctrl+3", "shift one row back (Y–)"},
    {TTool::ShiftYPlus, "Y+", "Сдвиг на один ряд вперёд", TQxCubePattern::ctShiftYPlus, kVk0 + 4, true,
     "Ctrl+4", "shift one row forward (Y+)"},
    {TTool::ShiftZMinus, "Z–", "Сдвиг на один слой вниз", TQxCubePattern::ctShiftZMinus, kVk0 + 5, true,
     "Ctrl+5", "shift one layer down (Z–)"},
    {TTool::ShiftZPlus, "Z+", "Сдвиг на один слой вверх", TQxCubePattern::ctShiftZPlus, kVk0 + 6, true,
     "Ctrl+6", "shift one layer up (Z+)"},
    {TTool::Wrap, nullptr, "Сдвиг по кругу: ушедшие за край светодиоды входят с другой стороны", 0,
     kVkA + 'W' - 'A', true, "Ctrl+W", "shifts wrap around, on / off (\"По кругу\")"},
    {TTool::Rotate, "Поворот", "Поворот на 90° вокруг вертикальной оси", TQxCubePattern::ctRotateZ, kVk0 + 7,
     true, "Ctrl+7", "rotate 90° about the vertical axis"},
    {TTool::MirrorX, "Зеркало X", "Отражение столбцов", TQxCubePattern::ctMirrorX, kVk0 + 8, true, "Ctrl+8",
     "mirror the columns"},
    {TTool::MirrorY, "Зеркало Y", "Отражение рядов", TQxCubePattern::ctMirrorY, kVk0 + 9, true, "Ctrl+9",
     "mirror the rows"},
    {TTool::MirrorZ, "Зеркало Z", "Отражение слоёв", TQxCubePattern::ctMirrorZ, kVk0, true, "Ctrl+0",
     "mirror the layers"},
    {TTool::Invert, "Инверсия", "Погасить горящие, зажечь погашенные", TQxCubePattern::ctInvert,
     kVkA + 'E' - 'A', true, "Ctrl+E", "invert"},
    {TTool::LightAll, "Все", "Зажечь все светодиоды", TQxCubePattern::ctLightAll, kVkA + 'L' - 'A', true,
     "Ctrl+L", "light all"},
    {TTool::Undo, "Отменить", "Отменить изменение светодиодов", 0, kVkA + 'Z' - 'A', true, "Ctrl+Z",
     "undo (\"Отменить\")"},
    {TTool::Redo, "Вернуть", "Вернуть отменённое изменение", 0, kVkA + 'Y' - 'A', true, "Ctrl+Y",
     "redo (\"Вернуть\")"},
}};

constexpr const TKey& RowOf(TTool tool) {
  for (const TKey& key : kKeys)
    if (key.Tool == tool) return key;
  return kKeys[0];  // never: every tool has its row (a test checks)
}

// The tool of a key press; Shift or Alt (AltGr types characters as Ctrl+Alt) never match.
constexpr TTool ToolOf(std::int32_t virtualKey, bool ctrl, bool shift, bool alt) {
  if (shift || alt) return TTool::None;
  for (const TKey& key : kKeys) {
    if (key.VirtualKey == virtualKey && key.Ctrl == ctrl) return key.Tool;
  }
  return TTool::None;
}

constexpr const char* KeyNameOf(TTool tool) { return RowOf(tool).Name; }

// The README's table of the tools, made from the rows (a test keeps the README in step).
std::string MarkdownTable();

}  // namespace pattern_keys
