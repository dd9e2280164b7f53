// The save's questions and the editor's "where am I" line. TQxSaveFlow stands between the designed
// file dialog and the save: it asks before replacing an existing file and before writing lines
// that are not frames, asks to save unsaved text when the window closes or the session ends, names
// the open or saved file and its state in a status label, and remembers the folder last used for
// the open and save dialogs between runs. TSaveFlowPanel makes it and the label on the editor form
// and links them. Must never write, close or clear without the user's yes when text would be lost.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "app/effect_file.h"
#include "elements/file_dialog_element.h"
#include "elements/label.h"
#include "runtime/data.h"

class TClassMainForm_1509590;

class TQxSaveFlow : public TQxObject {
 public:
  TControl* Owner = nullptr;            // owner of the questions
  TQxEffectFile* EffectFile = nullptr;  // asks about unsaved text in the open's own words
  TQxODialog* SaveDialog = nullptr;     // its StartDir follows the folder last used
  TQxLabel* Status = nullptr;           // the status line
  TQx_Event outSave;                    // string: the confirmed file name, on to the designed save
  TQx_Event outSaved;                   // empty: a save reached its file (passed on after the status is told)
  TQx_Event outSaveAsked;               // empty: run the designed save (its dialog) for a close answered Yes
  TQx_Event outPause;                   // empty: a question is about to run its modal loop
  TQx_Event dataText;                   // the effect text as the memo's control holds it
  TQx_Event dataUnsaved;                // int: non-zero when the effect text holds changes not saved

  // The file dialog's choice: asks what must be asked, then passes the name on, or drops it.
  void inChosen(TData* d, std::uint16_t index);
  void inSaved(TData* d, std::uint16_t index);
  // d: the full name of a file just opened.
  void inOpened(TData* d, std::uint16_t index);
  // The effect text changed: the status line says whether it is saved.
  void inEdited(TData* d, std::uint16_t index);
  // For the form's dataKeepOpen: 1 keeps the window (Cancel, or a Yes whose save did not happen).
  void getKeepOpen(TData* d, std::uint16_t index);
  // The folder the dialogs start in: the last one used, or "." (the current folder).
  void getStartDir(TData* d, std::uint16_t index);

  // Reads the folder last used from the user's settings; one that is gone is ignored.
  void LoadFolder();
  const std::string& Folder() const { return folder_; }

 private:
  bool Ask(const std::string& text, UINT buttons);
  void UseFolderOf(const std::string& fileName);
  void ShowStatus(const std::string& text);

  std::string fileName_;     // the open or last saved file, full name
  std::string pendingName_;  // the name on its way to the save
  std::size_t pendingFrames_ = 0;
  std::string folder_;
  std::string shown_;
  int saves_ = 0;  // good saves so far
};

class TSaveFlowPanel {
 public:
  // Made after the effect workbench, whose effect file element it asks.
  explicit TSaveFlowPanel(TClassMainForm_1509590& form);
  ~TSaveFlowPanel();
  TSaveFlowPanel(const TSaveFlowPanel&) = delete;
  TSaveFlowPanel& operator=(const TSaveFlowPanel&) = delete;

  TQxLabel* StatusLabel = nullptr;
  TQxSaveFlow* Flow = nullptr;

  int ElementCount() const { return 2; }
  int LinkCount() const { return linkCount_; }

 private:
  void Link(TQx_Event& output, const TQx_Event& input);
  int linkCount_ = 0;
};

// Where the editor keeps its settings under the user's registry hive ("Software\" + this), beside
// the values a main form keeps its position in.
inline constexpr const char* kEditorSettingsKey = "TESSARO";
inline constexpr const char* kFolderValue = "EffectFolder";
