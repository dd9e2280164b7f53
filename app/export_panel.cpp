// The export's button, element, links and key.
#include "app/export_panel.h"

#include <windows.h>

#include "app/editor_form.h"
#include "app/form_controls.h"

TExportPanel::TExportPanel(TClassMainForm_1509590& form) {
  TControl* parent = form.EditorWindow->Control;
  // Out of the Tab order, as the other workbench buttons: the designed controls keep theirs.
  Button = form_controls::MakeButton(parent, kLeft, kTop, kWidth, kHeight, 8, "Экспорт…",
                                     {-1, "Экспорт эффекта: заголовок C, GIF или PNG (Ctrl+Shift+E)"});
  Button->AttachHint(nullptr);
  Export = new TQxEffectExport();
  Export->Owner = parent;
  Link(Button->outClick, MakeLink<&TQxEffectExport::inExecute>(Export));
  Link(Export->dataText, MakeLink<&TQxEffectFile::getText>(form.Effect->EffectFile));
  Link(Export->dataRate, MakeLink<&TQxPlayer::getRate>(form.Effect->Player));
  Link(Export->dataStartDir, MakeLink<&TQxSaveFlow::getStartDir>(form.SaveFlow->Flow));
  Link(Export->outPause, MakeLink<&TQxPlayer::inPause>(form.Effect->Player));
  Link(Export->outSettleRate, MakeLink<&TQxPlayerFace::inRateLeft>(form.Effect->Face));
  // Goes the way of the button's click.
  form.Keys->Add('E', kCtrlKey | kShiftKey, TFormKeys::TWhere::Anywhere, Button->outClick);
}

TExportPanel::~TExportPanel() {
  delete Export;
  delete Button;
}

void TExportPanel::Link(TQx_Event& output, const TQx_Event& input) {
  output = input;
  ++linkCount_;
}
