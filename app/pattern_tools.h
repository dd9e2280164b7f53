// TPatternTools: the pattern tools of the editor form: the tool buttons in the strip above layers
// 3-5 with their hints, and the element that turns shortcut keys and the shift buttons into
// requests to the form's pattern element. Everything here is counted apart from the designed graph;
// the designed links are left as they are.
#pragma once

#include <array>
#include <cstdint>

#include "app/pattern_keys.h"
#include "elements/button.h"
#include "elements/cube_pattern_element.h"

class TClassMainForm_1509590;

// TQxPatternKeys: the wrap setting, the shift buttons and the shortcut keys. The form's key map
// sends one of the table's keys here, with the focus outside the text fields, as its tool's
// request.
class TQxPatternKeys : public TQxObject {
 public:
  std::uint8_t Wrap = 0;
  TQxButton* WrapButton = nullptr;  // its caption tells the wrap setting
  TQxButton* UndoButton = nullptr;  // greyed while there is nothing to undo
  TQxButton* RedoButton = nullptr;  // greyed while there is nothing to redo
  TQx_Event outTransform;           // int: a TQxCubePattern transform code
  TQx_Event outUndo;
  TQx_Event outRedo;

  // index: 0..5, the shift buttons X-, X+, Y-, Y+, Z-, Z+.
  void inShift(TData* d, std::uint16_t index);
  void inWrap(TData* d, std::uint16_t index);
  // index: a pattern_keys::TTool, asked for by its key.
  void inTool(TData* d, std::uint16_t index);
  // d: the pattern's history state (bit 0 undo possible, bit 1 redo possible).
  void inHistory(TData* d, std::uint16_t index);

  void Request(pattern_keys::TTool tool);
  static const char* WrapCaption(bool wrap);
};

class TPatternTools {
 public:
  // Creates and wires everything once the form's designed elements, its links and its pattern
  // element exist.
  TPatternTools(TClassMainForm_1509590& form, TQxCubePattern* pattern);
  ~TPatternTools();
  TPatternTools(const TPatternTools&) = delete;
  TPatternTools& operator=(const TPatternTools&) = delete;

  TQxCubePattern* Pattern = nullptr;  // the form's
  TQxPatternKeys* Keys = nullptr;
  // In the order of pattern_keys::TTool, from ShiftXMinus to Redo.
  std::array<TQxButton*, 15> Buttons{};

  TQxButton* Button(pattern_keys::TTool tool) { return Buttons[static_cast<int>(tool) - 1]; }

  int ElementCount() const { return 1 + static_cast<int>(Buttons.size()); }
  int LinkCount() const { return linkCount_; }

 private:
  int linkCount_ = 0;
};
