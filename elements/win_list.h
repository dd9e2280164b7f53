// TQxWinList and TQxEWinList: the bases of elements that show lines of text in their control. They
// add the line inputs (inAdd, inClear), saving the lines as a text file (inSave), the whole text as
// a data output (getText) and the change event. Must never report a save as done unless every byte
// of it reached the file.
#pragma once

#include <cstdint>
#include <string_view>

#include "elements/win.h"
#include "platform/strlist.h"

class TQxWinList : public TQxWin {
 public:
  void* Reserved = nullptr;      // released by the destructor if set; nothing sets it
  TStrList* WorkList = nullptr;  // exists only inside inSave and getText
  ByteString FileName;
  std::uint8_t AddToTop = 0;
  std::uint8_t SelectAdded = 0;
  TQx_Event dataFileName, dataText, dataValue;
  TQx_Event outChange;
  // Whether the last inSave or SaveTo wrote the whole text and closed the file without error; a
  // caller that is about to discard the text asks this first.
  bool LastSaveOk = false;

  explicit TQxWinList(TControl* parentControl);
  ~TQxWinList() override;

  virtual void ListFromControl();
  virtual void SetListText(std::string_view text);
  virtual void BeginUpdate();
  virtual void EndUpdate();
  virtual std::int32_t AddLine(std::string_view text);
  virtual void DeleteLine(std::int32_t index);
  virtual void ReplaceLine(std::int32_t index, std::string_view text);
  virtual void inClear(TData* d, std::uint16_t index);
  virtual void getText(TData* d, std::uint16_t index);
  // inAdd's way in when nobody needs the new line's index: adds the line as AddLine does but may
  // let it reach the control a little later, so that a burst of lines costs one update of the
  // control. Answers AddLine's index, or -1 while the line waits.
  virtual std::int32_t AddLineSoon(std::string_view text);

  void inAdd(TData* d, std::uint16_t index);
  void inSave(TData* d, std::uint16_t index);

  // Writes the lines, each followed by CR LF, over the file; true only when all of it was written.
  bool SaveTo(std::string_view fileName);
  // The whole text as getText gives it.
  ByteString WholeText();

 protected:
  // The control's change notification: outChange gets the whole text.
  void InstallChangeHandler();
};

// The variant for edit-type controls.
class TQxEWinList : public TQxWinList {
 public:
  using TQxWinList::TQxWinList;
};
