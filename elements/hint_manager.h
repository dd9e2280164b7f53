// TQxHintManager: the process-wide tooltip service. Every element that attaches a hint gets a tool
// record and a tooltip window ("tooltips_class32") of its own, made once the program falls idle
// after its first paint, or earlier when the mouse first moves over the element or when asked for,
// and ended by Unregister. Must never act on a tool record it did not hand out.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <cstdint>
#include <string>
#include <unordered_map>

#include "elements/win.h"

class TQxHintManager;

// What a tool identifier points at: the system's tool description (whose lParam holds the tooltip
// window once made), the font given to that window, the tip text the description points into and a
// title kept for the window until it is made.
struct THintTool {
  TOOLINFOW Info{};
  TOwnedFont Font;
  std::wstring Text;
  TQxHintManager* Manager = nullptr;
  bool HasTitle = false;
  std::int32_t TitleIcon = 0;
  std::string Title;
};

class TQxHintManager : public TQxObject {
 public:
  HintCallbacks* Callbacks = nullptr;
  std::uint8_t RectTips = 1;  // 0: balloon tips
  std::int32_t BackColor = ElementSystemColor(COLOR_INFOBK);
  std::int32_t InitialDelay = 500;
  std::int32_t AutoPopDelay = 5000;
  std::int32_t Margin = 0;
  std::uint8_t Tracking = 0;  // tips shown, hidden and moved by the elements
  TFontRec Font;

  TQxHintManager();
  ~TQxHintManager() override;
  TQxHintManager(const TQxHintManager&) = delete;
  TQxHintManager& operator=(const TQxHintManager&) = delete;

  void InitHintManager();

  THintId Register(HWND owner);
  void Unregister(THintId id);
  void SetTipText(THintId id, const ByteString& text);
  void SetTipTitle(std::int32_t icon, THintId id, const ByteString& title);
  void TipEnter(THintId id);
  void TipLeave(THintId id);
  void TipMove(THintId id, std::int32_t x, std::int32_t y);

  // The tooltip window of a tool, or null while the mouse has not been over its owner yet.
  static HWND TipWindow(THintId id);
  // The tooltip window of a tool, made now if it was not yet; null when it cannot be made.
  HWND MakeTipWindow(THintId id);

 private:
  // The handler on a hint's owner until its tooltip is made: the first mouse move makes it.
  static bool FirstHover(TControl* control, TMessage& msg, LRESULT& result);
  void StopWaiting(THintTool& tool);
  static void CALLBACK MakeWaitingTips(HWND, UINT, UINT_PTR timer, DWORD);

  std::unordered_map<HWND, THintTool*> waiting_;  // owners whose tooltip is not made yet
  UINT_PTR idleTimer_ = 0;                        // makes the waiting tooltips once the program is idle
};

// The process-wide manager; null until StartHintManager.
extern TQxHintManager* HintManager;
// Creates and initialises HintManager and publishes its record for AttachHint. Idempotent.
void StartHintManager();
// Frees HintManager (tools still registered keep their windows until their owners end them).
void FinishHintManager();
