// TFormKeys: the editor form's one key map. Each row says which key, with exactly which of Ctrl,
// Shift and Alt, does what (a link to an element's pin, fired empty) and where the focus must be
// for it to act. The form installs it once as its key handler, in front of its own: every key the
// map does not take goes on there, as before. Panels only add rows; none replaces a handler.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/control.h"
#include "runtime/data.h"

class TFormKeys {
 public:
  enum class TWhere {
    Anywhere,     // function keys and chords no text field uses
    OutsideText,  // keys a text field keeps for itself while it has the focus
  };
  struct TRow {
    std::int32_t Key = 0;    // virtual-key code
    std::int32_t Shift = 0;  // kCtrlKey | kShiftKey | kAltKey, exactly these held
    TWhere Where = TWhere::Anywhere;
    TQx_Event Action;
  };

  explicit TFormKeys(TControl* form);
  ~TFormKeys();  // the form gets its own handler back
  TFormKeys(const TFormKeys&) = delete;
  TFormKeys& operator=(const TFormKeys&) = delete;

  // A key taken twice is a wiring fault: the second row would never act.
  void Add(std::int32_t key, std::int32_t shift, TWhere where, const TQx_Event& action);
  // A text field of the form: while it has the focus, OutsideText rows do not act.
  void AddTextField(TControl* field);

  // The row a key press with the focus on `focus` takes; nullptr when it goes on to the form.
  const TRow* Find(std::int32_t key, std::int32_t shift, HWND focus) const;
  // Whether the map acted on the key (the caller swallows it then, except an Alt chord).
  bool Press(std::int32_t key, std::int32_t shift, HWND focus) const;

  const std::vector<TRow>& Rows() const { return rows_; }
  int LinkCount() const { return static_cast<int>(rows_.size()); }

 private:
  static void KeyDown(void* data, TControl* sender, std::int32_t& key, std::int32_t shift);
  bool InText(HWND focus) const;

  TControl* form_;
  TOnKeyEvent own_;  // the form's handler from before
  std::vector<TRow> rows_;
  std::vector<TControl*> textFields_;  // controls, not windows: the effect text makes its window anew
};
