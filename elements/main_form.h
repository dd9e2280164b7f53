// TQxMainForm: the visual element whose control is a top-level form. The first one made creates
// the application window and owns it; closing that form switches event delivery off and ends the
// program. It can keep the form's position and size between runs (see form_position.h).
// Must never let an event travel after its owning form has accepted the close.
#pragma once

#include <cstdint>

#include "elements/form_position.h"
#include "elements/win.h"

class TQxMainForm;

using TMainFormHook = TCallback<void()>;

class TQxMainForm : public TQxWin {
 public:
  using TPersistRoutine = void (*)(TQxMainForm* self, bool save);

  std::uint8_t OwnsApp = 0;
  std::uint8_t Shown = 0;
  TControlAccess* MasterLink = nullptr;  // source of a master form to follow
  std::int32_t MasterOffsetX = 0;
  std::int32_t MasterOffsetY = 0;
  std::uint8_t DragByClient = 0;
  // Opaque unless set: a zero-filled value would make the form fully transparent.
  std::uint8_t AlphaBlend = 255;
  std::uint8_t WindowState = 0;  // at the first show: 0 normal, 1 minimised, 2 maximised
  TPersistRoutine PersistRoutine = nullptr;
  ByteString PositionKey;  // "" none; "<file>.ini\<section>" ini file; else registry "Software\<key>"
  std::uint8_t ClientSize = 0;
  TMainFormHook InitHook;
  TQx_Event dataKeepOpen;  // asked by a close from the user and by the end of the session
  TQx_Event outActivate, outDeactivate, outCreate, outClose;

  explicit TQxMainForm(TControl* parentControl);
  ~TQxMainForm() override;

  void SetCaption(const ByteString& caption);
  void SetBorderStyle(std::uint8_t style);
  void SetIcon(HICON icon);
  void SetAppToolWindow(std::uint8_t value);

  void Init() override;
  void DoShow() override;
  void DoControlDestroyed() override;
  void DoMouseDown(TMouseEventData& mouse) override;
  bool DoMessage(TMessage& msg, LRESULT& result) override;

  // Run once by the start step: outCreate, then the form is shown if Visible.
  void StartForm();
  // The close procedure; true means the form stays open (the request is handled).
  bool CloseProcedure(bool ask);

  // The form's current rectangle as a position record, and applying one.
  TFormPosition CurrentPosition();
  void ApplyPosition(const TFormPosition& position);

 private:
  // The window this form put into MainFormWindows, kept here because the control that owns it may
  // be gone (freed with the application window) before this element is.
  HWND ListedWindow = nullptr;
  void Unlist();
};
