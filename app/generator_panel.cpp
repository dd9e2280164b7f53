// The generator's button, key and links.
#include "app/generator_panel.h"

#include "app/editor_form.h"
#include "app/form_controls.h"
#include "elements/edit.h"

TGeneratorPanel::TGeneratorPanel(TClassMainForm_1509590& form, TQxCubePattern* pattern, TQxEdit* rate) {
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
  // Goes the way of the button's click.
  form.Keys->Add('G', kCtrlKey, TFormKeys::TWhere::Anywhere, Button->outClick);
}

TGeneratorPanel::~TGeneratorPanel() {
  delete Generator;
  delete Button;
}
