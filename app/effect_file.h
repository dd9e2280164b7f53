// TQxEffectFile: the effect text's side of the workbench. Opens an effect file into the memo (asking
// first when the memo holds text that was not saved), brings the caret's line onto the cube, writes
// the cube's frame back over a line, and marks the line playback shows. Tells the user in Russian
// why a file or a line was refused. Shows the effect wrapped or one frame per row as the user chose,
// and unwrapped whenever wrapping it would take too long. Must never change the memo text when it refuses,
// and never replace text that was not saved without the user's yes.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "app/save_guard.h"
#include "cube/effect_text.h"
#include "elements/memo.h"
#include "elements/player.h"
#include "elements/timer_element.h"
#include "platform/control.h"
#include "runtime/data.h"

class TOpenSaveDialog;

class TQxEffectFile : public TQxObject {
 public:
  ~TQxEffectFile() override;

  TQxMemo* Memo = nullptr;
  TControl* Owner = nullptr;          // owner of the dialog and the message boxes
  TQxSaveGuard* Guard = nullptr;      // its KeepText holds back a clearing tick due before an open
  TQxTimer* ClearTimer = nullptr;     // whether a clearing tick is due
  TQxPlayer* Player = nullptr;        // the lines of the running session, for inMark; takes the lines opened
  TOpenSaveDialog* Dialog = nullptr;  // owned; made at the first open
  TQx_Event outFrame;                 // string: a line to put on the cube as one step
  TQx_Event outHalt;                  // empty: playback must end before the text or the cube changes
  TQx_Event dataFrame;                // the cube's frame string, for inReplace
  TQx_Event outPause;                 // empty: a dialog or a box is about to run its modal loop
  TQx_Event outOpened;                // int: an effect file's text went into the memo; its frame count
  TQx_Event outFileOpened;            // string: the full name of that file, after outOpened
  TQx_Event outEdited;                // empty: the memo's text changed, not by this element
  TQx_Event dataStartDir;             // the folder the open dialog starts in ("." when unconnected)
  TQx_Event dataWrap;                 // int: whether the user wants long lines wrapped (kept between runs)
  TQx_Event outWrap;                  // int: whether the memo's lines wrap now
  TQx_Event outWrapChosen;            // int: the user switched wrapping: the choice to keep

  // Runs the open dialog and loads the chosen file.
  void inOpen(TData* d, std::uint16_t index);
  // Loads this file as the open dialog would (the name in d).
  void inOpenFile(TData* d, std::uint16_t index);
  // The caret's line onto the cube. d: the mouse button of a double click (0 left) or empty.
  void inBringBack(TData* d, std::uint16_t index);
  // The cube's frame over the line the frame came from, or else the caret's line.
  void inReplace(TData* d, std::uint16_t index);
  // d: the reason the cube refused a frame.
  void inFault(TData* d, std::uint16_t index);
  // d: the 0-based line of the frame playback shows: the memo's caret put at its start.
  void inMark(TData* d, std::uint16_t index);
  // The memo's text exactly as its control holds it (the player's lines and their offsets).
  void getText(TData* d, std::uint16_t index);
  // A save reached its file: the text in the memo is saved.
  void inSaved(TData* d, std::uint16_t index);
  // The memo's text changed (by the user, a recording or the clearing tick).
  void MemoChanged();
  // Wrapping on or off at the user's request (the button or its key).
  void inWrap(TData* d, std::uint16_t index);
  // d: whether the user chose wrapped lines: the memo is shown so (at the start).
  void inShowChosenWrap(TData* d, std::uint16_t index);
  // Whether the memo is being made anew for a change of wrapping (its text is unchanged).
  bool Rewrapping() const { return rewrapping_; }

  // Whether the memo holds text that was changed since the last open or save.
  bool Unsaved() const;
  void getUnsaved(TData* d, std::uint16_t index);
  // Asks about the unsaved text, then `question` (playback pauses first); the box's answer.
  int AskAboutUnsaved(const std::string& question, const char* caption, UINT buttons);
  // The line the cube's frame came from, when known.
  bool HasSourceLine() const { return hasSource_; }
  std::size_t SourceLine() const { return sourceLine_; }

 private:
  // A box kept clear of `uncovered` when one is given.
  void Tell(const std::string& text, const char* caption, UINT icon, HWND uncovered = nullptr);
  void SetMemoText(const std::string& text);
  bool ReadEffect(const std::string& fileName, std::string& bytes, std::vector<std::string_view>& lines);
  void TellOpened(const std::vector<std::string_view>& lines, std::size_t frames, bool unwrapped);
  std::string MemoText() const;
  void SelectMemo(std::size_t start, std::size_t end) const;
  // The memo line holding the caret (lines.size() past the last line break).
  std::size_t CaretLine(const std::vector<effect::TLineSpan>& lines) const;
  void ShowWrapped(bool wrap);
  // The wrapping the user chose last; wrapped, as designed, when nobody keeps the choice.
  bool ChosenWrap() const;

  bool changed_ = false;    // the memo text changed since the last open or save
  bool ownChange_ = false;  // the memo is being changed by this element
  bool rewrapping_ = false;
  bool hasSource_ = false;
  std::size_t sourceLine_ = 0;
  std::string sourceText_;
};
