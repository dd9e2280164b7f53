// The effect text's line tools on the editor form: a column of small buttons left of the effect
// text and their keys, which duplicate, move, delete the caret's line (or the selected lines) and
// insert the cube's frame above it. Made after the designed elements and counted apart from them;
// changes none of them, only reads the memo and the pattern and adds its keys to the form's key map.
//
// Keys (none is used by an edit control, the focus navigation or another shortcut; they act
// wherever the focus is, on the effect text's caret line):
//   Ctrl+D duplicate, Alt+Up / Alt+Down move, Ctrl+Shift+K delete, Alt+Insert insert the frame.
#pragma once

#include <array>
#include <cstdint>

#include "elements/button.h"
#include "elements/cube_pattern_element.h"
#include "elements/memo_lines.h"
#include "platform/control.h"

class TClassMainForm_1509590;

class TFrameLinesPanel {
 public:
  // `pattern` is the form's pattern element (the cube's frame); the form outlives the panel.
  TFrameLinesPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern);
  ~TFrameLinesPanel();
  TFrameLinesPanel(const TFrameLinesPanel&) = delete;
  TFrameLinesPanel& operator=(const TFrameLinesPanel&) = delete;

  static constexpr int kToolCount = 5;
  // In column order: duplicate, up, down, delete, insert the frame.
  std::array<TQxButton*, kToolCount> Buttons{};
  TQxMemoLines* Lines = nullptr;

  int ElementCount() const { return kToolCount + 1; }
  int LinkCount() const { return linkCount_; }

 private:
  int linkCount_ = 0;
};
