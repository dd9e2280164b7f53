// The "Генератор…" button on the editor form and its key: opens the generator dialog, whose frames
// go into the effect text after the caret's line. Made after the designed elements and counted
// apart from them; changes none of them, only reads the memo, the pattern and the rate field and
// adds its key to the form's key map.
//
// Key: Ctrl+G, wherever the focus is (no edit control, focus navigation or other shortcut uses it).
#pragma once

#include <cstdint>

#include "elements/button.h"
#include "elements/cube_pattern_element.h"
#include "elements/generator.h"
#include "platform/control.h"

class TClassMainForm_1509590;
class TQxEdit;

class TGeneratorPanel {
 public:
  // Right of layer 5, under the "СЛОЙ 6" caption: a column nothing else uses.
  static constexpr int kLeft = 1140;
  static constexpr int kTop = 206;
  static constexpr int kWidth = 96;
  static constexpr int kHeight = 22;

  // `pattern` and `rate` (the player's rate field) may be null; the form outlives the panel.
  TGeneratorPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern, TQxEdit* rate);
  ~TGeneratorPanel();
  TGeneratorPanel(const TGeneratorPanel&) = delete;
  TGeneratorPanel& operator=(const TGeneratorPanel&) = delete;

  TQxButton* Button = nullptr;
  TQxGenerator* Generator = nullptr;

  int ElementCount() const { return 2; }
  int LinkCount() const { return linkCount_; }

 private:
  int linkCount_ = 0;
};
