// TQxHintManager: the process-wide tooltip service. Every element that attaches a hint gets a tool
// record and a tooltip window ("tooltips_class32") of its own, made once at attachment and ended by
// Unregister. Must never act on a tool record it did not hand out.
#pragma once

#include <windows.h>
// commctrl.h needs the types of windows.h first.
#include <commctrl.h>

#include <cstdint>
#include <string>

#include "elements/win.h"

// What a tool identifier points at: the system's tool description (whose lParam holds the tooltip
// window), the font given to that window and the tip text the description points into.
struct THintTool {
  TOOLINFOW Info{};
  TOwnedFont Font;
  std::wstring Text;
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

  // The tooltip window of a tool, or null.
  static HWND TipWindow(THintId id);
};

// The process-wide manager; null until StartHintManager.
extern TQxHintManager* HintManager;
// Creates and initialises HintManager and publishes its record for AttachHint. Idempotent.
void StartHintManager();
// Frees HintManager (tools still registered keep their windows until their owners end them).
void FinishHintManager();
