// The export on the editor form: the "Экспорт…" button right of the cube picture and its key
// Ctrl+Shift+E, which acts wherever the focus is (no edit control, focus move or other shortcut
// uses it). Made after the designed elements and counted apart from them; changes none of them,
// only reads the effect text, the rate and the last used folder, and adds its key to the form's
// key map.
#pragma once

#include <cstdint>

#include "elements/button.h"
#include "elements/effect_export.h"
#include "platform/control.h"

class TClassMainForm_1509590;

class TExportPanel {
 public:
  // Made after the effect workbench and the save flow, whose elements it reads.
  explicit TExportPanel(TClassMainForm_1509590& form);
  ~TExportPanel();
  TExportPanel(const TExportPanel&) = delete;
  TExportPanel& operator=(const TExportPanel&) = delete;

  static constexpr int kLeft = 1140, kTop = 256, kWidth = 96, kHeight = 22;

  TQxButton* Button = nullptr;
  TQxEffectExport* Export = nullptr;

  int ElementCount() const { return 2; }
  int LinkCount() const { return linkCount_; }

 private:
  void Link(TQx_Event& output, const TQx_Event& input);

  int linkCount_ = 0;
};
