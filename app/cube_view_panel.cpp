// The cube view's button, key and links.
#include "app/cube_view_panel.h"

#include <windows.h>

#include "app/editor_form.h"
#include "app/form_controls.h"
#include "app/save_flow.h"

namespace {

// Right of layer 6's label, under its last row of LEDs: the middle of three button places there.
constexpr int kButtonLeft = 1140;
constexpr int kButtonTop = 231;
constexpr int kButtonWidth = 96;
constexpr int kButtonHeight = 22;
constexpr std::int32_t kViewKey = VK_F11;

}  // namespace

TCubeViewPanel::TCubeViewPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern) {
  TControl* formControl = form.EditorWindow->Control;
  // Out of the Tab order, as the other workbench buttons: the designed controls keep theirs.
  ViewButton = form_controls::MakeButton(formControl, kButtonLeft, kButtonTop, kButtonWidth, kButtonHeight, 8,
                                         "Вид куба", {-1, "Показать или скрыть куб в перспективе (F11)"});
  ViewButton->AttachHint(nullptr);
  View = new TQxCubeView();
  View->Owner = formControl;
  View->PositionKey = kEditorSettingsKey;
  View->Caption = "Вид куба";
  ViewButton->outClick = MakeLink<&TQxCubeView::inToggle>(View);
  ++linkCount_;
  if (pattern != nullptr) {
    View->dataFrame = MakeLink<&TQxCubePattern::getFrame>(pattern);
    pattern->outChange = MakeLink<&TQxCubeView::inChange>(View);
    linkCount_ += 2;
  }
  // Goes the way of the button's click.
  form.Keys->Add(kViewKey, 0, TFormKeys::TWhere::Anywhere, ViewButton->outClick);
}

TCubeViewPanel::~TCubeViewPanel() {
  delete View;
  delete ViewButton;
}
