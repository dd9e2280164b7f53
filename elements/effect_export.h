// TQxEffectExport: "Экспорт…" of the effect, or a range of its frames, as a C header, an animated
// GIF (the layers, or the 3D view once the program has it) or a PNG strip of numbered frames. On
// inExecute it asks what and where (the export dialog, then a save dialog proposing ZOZIVU.h / .gif /
// .png in the folder of dataStartDir), asks before replacing a file, and writes the file whole.
// Must never change the effect text, and never leave a failure untold: every one gets a Russian
// message. Windows builds only.
#pragma once

#include <string>

#include "elements/export_dialog.h"
#include "runtime/data.h"

class TControl;

class TQxEffectExport : public TQxObject {
 public:
  TControl* Owner = nullptr;  // owner of the dialogs and messages
  TQx_Event dataText;         // the effect text
  TQx_Event dataRate;         // int: milliseconds per frame
  TQx_Event dataStartDir;     // the folder the save dialog starts in
  TQx_Event outPause;         // empty: a dialog is about to run its modal loop
  TQx_Event outSettleRate;    // empty: a rate typed but not yet applied is applied, as Play does

  void inExecute(TData* d, std::uint16_t index);

 private:
  bool ChooseFile(std::string& fileName);
  void Tell(const std::string& text) const;
  bool Ask(const std::string& text) const;

  TExportChoice choice_;  // the last one, offered again
};

// The export's file dialog title, for the tests that drive it.
inline constexpr const char* kExportFileDialogTitle = "Экспорт эффекта в файл";
