// The line tools: one table row per tool gives its button, hint, key and pin.
#include "app/frame_lines_panel.h"

#include <windows.h>

#include "app/editor_form.h"
#include "app/form_controls.h"

namespace {

// Left of the effect text, under layer 2's last row and right of its caption, above the frame
// line's caption: a strip nothing else uses.
constexpr int kColumnLeft = 562;
constexpr int kColumnTop = 456;
constexpr int kButtonWidth = 74;
constexpr int kButtonHeight = 22;
constexpr int kRowStep = 25;

struct TTool {
  const char* Caption;
  const char* Hint;
  std::int32_t Key;
  std::int32_t Shift;
  TQxMethod Pin;  // of TQxMemoLines
};

const std::array<TTool, TFrameLinesPanel::kToolCount> kTools{{
    {"Копия", "Повторить строку курсора под ней (Ctrl+D)", 'D', kCtrlKey,
     &TQxCallMember<&TQxMemoLines::inDuplicate>},
    {"Выше", "Поднять строку курсора на строку выше (Alt+Вверх)", VK_UP, kAltKey,
     &TQxCallMember<&TQxMemoLines::inMoveUp>},
    {"Ниже", "Опустить строку курсора на строку ниже (Alt+Вниз)", VK_DOWN, kAltKey,
     &TQxCallMember<&TQxMemoLines::inMoveDown>},
    {"Удалить", "Удалить строку курсора (Ctrl+Shift+K)", 'K', kCtrlKey | kShiftKey,
     &TQxCallMember<&TQxMemoLines::inDelete>},
    {"+ кадр", "Вставить кадр светодиодов над строкой курсора (Alt+Insert)", VK_INSERT, kAltKey,
     &TQxCallMember<&TQxMemoLines::inInsertFrame>},
}};

}  // namespace

TFrameLinesPanel::TFrameLinesPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern) {
  TControl* parent = form.EditorWindow->Control;
  Lines = new TQxMemoLines();
  Lines->Memo = form.EffectMemo;
  for (std::size_t i = 0; i < kTools.size(); ++i) {
    // Out of the Tab order, as the other workbench buttons: the designed controls keep theirs.
    Buttons[i] =
        form_controls::MakeButton(parent, kColumnLeft, kColumnTop + static_cast<int>(i) * kRowStep,
                                  kButtonWidth, kButtonHeight, 8, kTools[i].Caption, {-1, kTools[i].Hint});
    Buttons[i]->AttachHint(nullptr);
    Buttons[i]->outClick = MakeLink(kTools[i].Pin, Lines, 0);
    ++linkCount_;
    // A key goes the way of its button's click.
    form.Keys->Add(kTools[i].Key, kTools[i].Shift, TFormKeys::TWhere::Anywhere, Buttons[i]->outClick);
  }
  if (pattern != nullptr) {
    Lines->dataFrame = MakeLink<&TQxCubePattern::getFrame>(pattern);
    ++linkCount_;
  }
}

TFrameLinesPanel::~TFrameLinesPanel() {
  delete Lines;
  for (std::size_t i = Buttons.size(); i > 0; --i) delete Buttons[i - 1];
}
