// The cube view on the editor form: the "Вид куба" button in the free strip right of layer 6's
// label and the F11 key, which show or hide the view window; the window follows the pattern
// element's changes and reads its frame. Made after the designed elements and counted apart from
// them; changes none of them, only links from the pattern and adds its key to the form's key map.
//
// Key: F11 shows or hides the view wherever the focus is on the form (no edit control, focus
// navigation or other shortcut uses it). In the view: arrows turn it, Home turns it back, Esc and
// F11 hide it.
#pragma once

#include <cstdint>

#include "elements/button.h"
#include "elements/cube_pattern_element.h"
#include "elements/cube_view.h"
#include "platform/control.h"

class TClassMainForm_1509590;

class TCubeViewPanel {
 public:
  // `pattern` is the form's pattern element; the form outlives the panel.
  TCubeViewPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern);
  ~TCubeViewPanel();
  TCubeViewPanel(const TCubeViewPanel&) = delete;
  TCubeViewPanel& operator=(const TCubeViewPanel&) = delete;

  TQxButton* ViewButton = nullptr;
  TQxCubeView* View = nullptr;

  int ElementCount() const { return 2; }
  int LinkCount() const { return linkCount_; }

 private:
  int linkCount_ = 0;
};
