// TQxODialog: runs the system's open-file dialog from inExecute and passes the chosen full path on
// (outExecute), or reports a cancel (outCancel, empty value). Windows builds only.
// The dialog is made at the first inExecute with the Title and Filter of that moment; it starts in
// StartDir as it stands at each run.
#pragma once

#include "runtime/data.h"

class TOpenSaveDialog;

class TQxODialog : public TQxObject {
 public:
  ~TQxODialog() override;

  TOpenSaveDialog* Dialog = nullptr;  // owned; null until the first inExecute
  ByteString StartDir;
  ByteString Filter;  // "description|pattern|..."
  ByteString Title;
  ByteString FileName;  // default of dataFileName
  TQx_Event outExecute;
  TQx_Event outCancel;
  TQx_Event dataFileName;  // the name proposed in the dialog

  // Proposes PullStr(d, dataFileName, FileName), runs the dialog (modal) and forwards the result
  // through d. The index is ignored.
  void inExecute(TData* d, std::uint16_t index);
};
