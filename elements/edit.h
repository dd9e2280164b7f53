// TQxEdit: a single-line text field that reports changes, sends its text on Enter and can be
// filled from other elements. Must never report the changes it makes itself while disarmed.
#pragma once

#include <cstdint>

#include "elements/win.h"

// Produces the value that outEnter and outChange send; answers whether it produced one.
struct TTextSource {
  bool (*Code)(void* self, TData* d) = nullptr;
  void* Object = nullptr;
};

class TQxEdit : public TQxWin {
 public:
  std::uint8_t ChangeArmed = 0;
  TTextSource TextSource;
  std::uint8_t Password = 0;
  std::uint8_t ClearAfterEnter = 0;
  ByteString Text;  // initial text
  std::uint8_t ReadOnly = 0;
  std::uint8_t TextAlign = 0;  // 0 left, 1 right, 2 centred
  std::int32_t MaxLength = 0;  // 0: the control's default limit
  // 0: the selection stays drawn while the field has no focus. Wine draws an unfocused line of
  // more than about 250 runs (a long frame string: numbers and commas alternate) only so.
  std::uint8_t HideSelection = 1;
  TQx_Event dataText;
  TQx_Event outEnter;
  TQx_Event outChange;

  using TQxWin::TQxWin;

  // The edit's own text source: the control's whole text as a string, always produced.
  TTextSource OwnTextSource();

  void inText(TData* d, std::uint16_t index);
  // The field's text as it stands: for readers that only look, as the generator's preview pace.
  void getText(TData* d, std::uint16_t index);

  void Init() override;
  void DoKeyDown(std::int32_t& key, std::int32_t shift) override;

  // True while inText sets the text: a change the control reports then came through a link, not
  // from the user's typing (or Enter's clearing).
  bool Writing() const { return writing_; }

 private:
  bool writing_ = false;
  void TextChanged();
  // Sets the text without reporting the change it causes.
  void SetTextQuietly(std::string_view text);
  friend void EditChangeProc(void* data, TObj*);
};
