// TQxWin: the base of every element that owns a window control. It holds the shared properties
// (position, size, colours, font, visibility, tab order, cursor, hint), applies them to the control
// the derived class made, and turns the control's notifications into output events.
// Must never free a control that reported its own destruction, and nothing may throw out of a
// notification handler.
#pragma once

#include <cstdint>

#include "platform/control.h"
#include "runtime/bytestring.h"
#include "runtime/data.h"

// Font description used by every visual element.
struct TFontRec {
  ByteString Name;
  std::uint8_t Size = 0;   // points
  std::uint8_t Style = 0;  // bit 0 bold, 1 italic, 2 underline, 3 strike-out
  std::int32_t Color = 0;
  std::uint8_t CharSet = 0;  // 1 default, 204 Cyrillic
};

TFontRec MakeFontRec(const ByteString& name, std::uint8_t size, std::uint8_t style, std::int32_t color,
                     std::uint8_t charset);

// Font height in logical units for a size in points: -((size * pixelsPerInch + 36) / 72).
std::int32_t FontHeightForSize(std::uint8_t size, std::int32_t pixelsPerInch);
// The screen's vertical pixels per inch, read once and kept.
std::int32_t ScreenPixelsPerInch();

// A tool identifier handed out by the hint manager: the address of its tool record (pointer wide,
// so it survives on 64-bit targets); 0 = none.
using THintId = std::intptr_t;

// The hint manager's operations, each bound to the manager object.
struct HintCallbacks {
  TCallback<THintId(HWND window)> Register;
  TCallback<void(THintId id)> Unregister;
  TCallback<void(THintId id, const ByteString& text)> SetTipText;
  TCallback<void(std::int32_t icon, THintId id, const ByteString& title)> SetTipTitle;
  TCallback<void(THintId id)> TipEnter;
  TCallback<void(THintId id)> TipLeave;
  TCallback<void(THintId id, std::int32_t x, std::int32_t y)> TipMove;
};

// The process-wide hint manager's record; set by whoever creates the manager, null until then.
extern HintCallbacks* ProcessHintCallbacks;

class TQxWin;

// A method of an element that returns its control.
using TControlAccess = TCallback<TControl*()>;

class TQxWin : public TQxObject {
 public:
  TControlAccess ControlAccess;
  std::uint8_t ControlGone = 0;
  TControl* ParentControl = nullptr;
  TOnMessageEvent PrevMessageHandler;
  TMouseEventData MouseInfo;
  std::int32_t KeyOverride = -1;  // -1 none
  THintId HintId = 0;
  HintCallbacks* HintLink = nullptr;
  TQx_Event outMouseEnter, outMouseLeave;
  TControl* Control = nullptr;
  ByteString Name;
  std::int32_t Left = 0, Top = 0, Width = 0, Height = 0;
  std::uint8_t Align = 0;
  std::int32_t TabOrder = 0;
  std::int32_t Color = 0;
  std::uint8_t Ctl3D = 2;  // 0 sunken, 1 flat, 2 leave as created
  ByteString Hint;
  TFontRec Font;
  std::uint8_t ParentFont = 0;
  std::uint8_t Transparent = 0;
  std::uint8_t Visible = 1;
  std::uint8_t Enabled = 1;
  std::int32_t Cursor = 0;
  std::uint8_t MouseCapture = 0;
  std::uint8_t Flat = 0;
  std::uint8_t KeysToParent = 1;
  std::uint8_t EdgeStyle = 0;  // applied only when Ctl3D is 0
  TQx_Event outKeyDown, outKeyUp, outKeyChar, outMouseDown, outMouseMove, outMouseUp, outMouseWheel, outFocus,
      outBlur, outDblClick, outResize, outShow, outHide, outMove;
  TQx_Event dataWidthDelta, dataHeightDelta;

  explicit TQxWin(TControl* parentControl);
  ~TQxWin() override;
  TQxWin(const TQxWin&) = delete;
  TQxWin& operator=(const TQxWin&) = delete;

  virtual void DoKeyDown(std::int32_t& key, std::int32_t shift);
  virtual void DoKeyUp(std::int32_t& key, std::int32_t shift);
  virtual void DoKeyChar(char& ch, std::int32_t shift);
  virtual void DoMouseDown(TMouseEventData& mouse);
  virtual void DoMouseMove(TMouseEventData& mouse);
  virtual void DoMouseEnter();
  virtual void DoMouseLeave();
  virtual void DoMouseUp(TMouseEventData& mouse);
  virtual void DoMouseWheel(TMouseEventData& mouse);
  virtual bool DoMessage(TMessage& msg, LRESULT& result);
  virtual void DoControlDestroyed();
  virtual void DoResize();
  virtual void DoShow();
  virtual void DoHide();
  // Creates the control (derived class) and then runs CommonInit. Called once, after the properties.
  virtual void Init();
  virtual TControlAccess GetControlAccess();

  // Connects the element to a hint manager; with no record, to the process-wide one when Hint is set.
  void AttachHint(HintCallbacks* record);

 protected:
  // The tail of every Init: applies the properties to Control and installs the handlers.
  void CommonInit();
  // Installs the pointer enter/leave notifications of the control (DoMouseEnter / DoMouseLeave).
  void InstallHover();

 private:
  // The parts of CommonInit, in its order.
  void ApplyLook(TControl& c);
  void DressFont(TControl& c);
  void JoinTabOrder(TControl& c);
  void HookEvents(TControl& c);
  void ShowWindowOnTop(TControl& c);
  void ApplyEdgeStyle(TControl& c);
  void FilterSize(WINDOWPOS& pos);
};
