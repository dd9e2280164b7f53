// The generator's button, key and links.
#include "app/generator_panel.h"

#include "app/editor_form.h"
#include "app/form_controls.h"
#include "elements/edit.h"

TGeneratorPanel::TGeneratorPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern, TQxEdit* rate)
    : form_(form) {
  TControl* parent = form.EditorWindow->Control;
  // Out of the Tab order, as the other workbench buttons: the designed controls keep theirs.
  Button = form_controls::MakeButton(parent, kLeft, kTop, kWidth, kHeight, 8, "Генератор…",
                                     {-1, "Создать кадры готового движения: дождь, волна, текст… (Ctrl+G)"});
  Button->AttachHint(nullptr);
  Generator = new TQxGenerator();
  Generator->Memo = form.EffectMemo;
  Generator->Owner = parent;
  Button->outClick = MakeLink<&TQxGenerator::inOpen>(Generator);
  ++linkCount_;
  if (pattern != nullptr) {
    Generator->dataFrame = MakeLink<&TQxCubePattern::getFrame>(pattern);
    ++linkCount_;
  }
  if (rate != nullptr) {
    Generator->dataRate = MakeLink<&TQxEdit::getText>(rate);
    ++linkCount_;
  }
  formKeyDown_ = parent->Events().OnKeyDown;
  parent->SetOnKeyDown({&KeyDown, this});
}

TGeneratorPanel::~TGeneratorPanel() {
  TControl* formControl = form_.EditorWindow != nullptr ? form_.EditorWindow->Control : nullptr;
  if (formControl != nullptr && formControl->Events().OnKeyDown.Data == this)
    formControl->SetOnKeyDown(formKeyDown_);
  delete Generator;
  delete Button;
}

bool TGeneratorPanel::Shortcut(std::int32_t key, std::int32_t shift) {
  if (key != 'G' || shift != kCtrlKey) return false;
  FireEmpty(Button->outClick);
  return true;
}

void TGeneratorPanel::KeyDown(void* data, TControl* sender, std::int32_t& key, std::int32_t shift) {
  auto* self = static_cast<TGeneratorPanel*>(data);
  if (self->Shortcut(key, shift)) {
    key = 0;
    return;
  }
  if (self->formKeyDown_) self->formKeyDown_.Proc(self->formKeyDown_.Data, sender, key, shift);
}
